#include "core/executable_path.h"

#ifdef _WIN32
#include <windows.h>

#include "core/utf.h"
#else
#include <climits>
#include <unistd.h>
#endif

#include <vector>

namespace quelvo {

std::string executablePath()
{
#ifdef _WIN32
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size())
            return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), n));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
#endif
}

std::string executableFolder()
{
    const std::string path = executablePath();
    const auto cut = path.find_last_of(PathSeparator);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

} // namespace quelvo
