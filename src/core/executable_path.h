#pragma once

#include <string>

namespace quelvo {

// The running executable's full path and its folder (without a trailing
// separator), taken from the process itself, never the working directory.
// UTF-8 on every platform.
std::string executablePath();
std::string executableFolder();

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

} // namespace quelvo
