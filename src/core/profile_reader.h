#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelvo {

// Reads an INI profile the way the Windows profile functions do: section and
// key names match without regard to case, the first section and key of a
// name win, blanks around names and values are dropped, as is one pair of
// quotation marks around a value, and a value is read up to 2047 characters.
// A missing file reads as an empty profile. On Windows a file is read
// through the system's profile functions themselves.
class ProfileReader {
public:
    static constexpr std::size_t MaxValueLength = 2047;

    static ProfileReader fromFile(const std::string& path);
    // Bytes as stored: UTF-8 (with or without a byte-order mark) or UTF-16LE
    // with its byte-order mark.
    static ProfileReader fromBytes(std::string_view bytes);

    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives the fallback.
    int readInteger(std::u16string_view section, std::u16string_view key, int fallback) const;

private:
    struct Entry {
        std::u16string section; // folded
        std::u16string key;     // folded
        std::u16string value;
    };
    std::vector<Entry> entries_;
#ifdef _WIN32
    std::wstring file_; // set by fromFile
#endif
};

} // namespace quelvo
