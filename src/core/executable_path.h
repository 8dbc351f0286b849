#pragma once

#include <string>

namespace quelvo {

// The running executable's full path and its folder (without a trailing
// separator), taken from the process itself, never the working directory.
// UTF-8 on every platform.
std::string executablePath();
std::string executableFolder();

// A path as seen from the current folder, made absolute: a server knows
// nothing of our current folder. UTF-8 in and out. On Windows, the system's
// full path (GetFullPathNameW: "." and ".." resolved, slashes made
// backslashes).
// Elsewhere an absolute path comes back as it is; a relative one is joined
// to the current folder with its "." parts dropped and its leading ".."
// parts taken off the current folder, which the system names without
// symbolic links, so that is where ".." leads. Throws std::runtime_error
// when the current folder cannot be told.
std::string absolutePath(const std::string& path);

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

} // namespace quelvo
