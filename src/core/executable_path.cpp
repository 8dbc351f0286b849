#include "core/executable_path.h"

#ifdef _WIN32
#include <windows.h>

#include "core/utf.h"
#else
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#endif

#include <stdexcept>
#include <string_view>
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

std::string absolutePath(const std::string& path)
{
#ifdef _WIN32
    const std::u16string wide = fromUtf8(path);
    const auto* name = reinterpret_cast<const wchar_t*>(wide.c_str());
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetFullPathNameW(name, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (n == 0)
            throw std::runtime_error("Cannot make a full path of \"" + path + "\"");
        if (n < buffer.size())
            return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), n));
        buffer.resize(n); // n counts the terminating null here
    }
#else
    if (!path.empty() && path.front() == '/')
        return path;
    char* current = getcwd(nullptr, 0);
    if (!current)
        throw std::runtime_error(std::string("Cannot tell the current folder: ") + std::strerror(errno));
    std::string result = current;
    std::free(current);
    bool leading = true;
    std::string_view rest = path;
    while (!rest.empty()) {
        const std::size_t cut = rest.find('/');
        const std::string_view part = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == ".." && leading) {
            const std::size_t slash = result.find_last_of('/');
            result.erase(slash == 0 ? 1 : slash);
            continue;
        }
        leading = false;
        if (result.back() != '/')
            result += '/';
        result += part;
    }
    return result;
#endif
}

} // namespace quelvo
