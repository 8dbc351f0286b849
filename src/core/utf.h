#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quelvo {

// Decodes UTF-8 into `out`, which must have room for `in.size()` units (UTF-16
// never needs more units than UTF-8 has bytes). Malformed sequences become
// U+FFFD. Returns the number of units written.
std::size_t decodeUtf8(std::string_view in, char16_t* out);

std::u16string fromUtf8(std::string_view in);

// Encodes UTF-16 into `out`, which must have room for 3 * `in.size()` bytes.
// Lone surrogates become U+FFFD. Returns the number of bytes written.
std::size_t encodeUtf8(std::u16string_view in, char* out);

// Lone surrogates become U+FFFD, so the result is always valid UTF-8.
std::string toUtf8(std::u16string_view in);

// Byte length of toUtf8(in) without building it.
std::size_t utf8Length(std::u16string_view in);

} // namespace quelvo
