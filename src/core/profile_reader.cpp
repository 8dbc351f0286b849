#include "core/profile_reader.h"

#include "core/text_case.h"
#include "core/utf.h"

#include <fstream>
#include <iterator>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quelvo {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view trim(std::u16string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::u16string fold(std::u16string_view s) { return lowerCase(s); }

std::u16string decode(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return text;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return fromUtf8(bytes);
}

} // namespace

#ifdef _WIN32

// What every Windows program reading a profile gets: the system's encodings
// (UTF-16 with its mark, else the ANSI code page) and the system's parsing.
ProfileReader ProfileReader::fromFile(const std::string& path)
{
    ProfileReader profile;
    const std::u16string wide = fromUtf8(path);
    profile.file_.assign(wide.begin(), wide.end());
    return profile;
}

#else

ProfileReader ProfileReader::fromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return fromBytes(bytes);
}

#endif

ProfileReader ProfileReader::fromBytes(std::string_view bytes)
{
    ProfileReader profile;
    const std::u16string text = decode(bytes);
    std::u16string section;
    bool inSection = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        std::u16string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        line = trim(line);
        if (!line.empty() && line.front() == u'[') {
            const auto close = line.find(u']');
            section = fold(trim(line.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1)));
            inSection = true;
        } else if (inSection) {
            const auto eq = line.find(u'=');
            if (eq != std::u16string_view::npos) {
                std::u16string_view value = trim(line.substr(eq + 1));
                if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
                    value = value.substr(1, value.size() - 2);
                profile.entries_.push_back({section, fold(trim(line.substr(0, eq))),
                                            std::u16string(value.substr(0, MaxValueLength))});
            }
        }
        start = end + 1;
    }
    return profile;
}

std::u16string ProfileReader::readString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view fallback) const
{
#ifdef _WIN32
    if (!file_.empty()) {
        const std::wstring s(section.begin(), section.end());
        const std::wstring k(key.begin(), key.end());
        const std::wstring f(fallback.begin(), fallback.end());
        std::wstring value(MaxValueLength + 1, L'\0');
        const DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), f.c_str(), value.data(),
                                                 static_cast<DWORD>(value.size()), file_.c_str());
        return std::u16string(value.begin(), value.begin() + n);
    }
#endif
    const std::u16string s = fold(trim(section));
    const std::u16string k = fold(trim(key));
    for (const Entry& e : entries_) {
        if (e.section == s && e.key == k)
            return e.value;
    }
    return std::u16string(fallback);
}

int ProfileReader::readInteger(std::u16string_view section, std::u16string_view key, int fallback) const
{
    const std::u16string text = readString(section, key, u"");
    std::u16string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == u'-' || digits.front() == u'+')) {
        negative = digits.front() == u'-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (!digits.empty() && digits.front() == u'$') {
        base = 16;
        digits.remove_prefix(1);
    } else if (digits.size() > 1 && digits[0] == u'0' && (digits[1] == u'x' || digits[1] == u'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty())
        return fallback;
    long long value = 0;
    for (const char16_t c : digits) {
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return fallback;
        value = value * base + d;
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(value);
}

} // namespace quelvo
