#include "core/utf.h"

#include <cstdint>
#include <cstring>

namespace quelvo {

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

} // namespace

std::size_t decodeUtf8(std::string_view in, char16_t* out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* const end = p + in.size();
    char16_t* o = out;
    while (p < end) {
        // Most help-desk text is ASCII: take eight bytes at a time when we can.
        while (end - p >= 8) {
            std::uint64_t block;
            std::memcpy(&block, p, 8);
            if (block & 0x8080808080808080ull)
                break;
            for (int i = 0; i < 8; ++i)
                o[i] = p[i];
            o += 8;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            *o++ = c;
            ++p;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (end - p >= 2 && isContinuation(p[1])) {
                *o++ = static_cast<char16_t>(((c & 0x1F) << 6) | (p[1] & 0x3F));
                p += 2;
            } else {
                *o++ = Replacement;
                ++p;
            }
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (end - p >= 3 && isContinuation(p[1]) && isContinuation(p[2])) {
                const char32_t cp = ((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
                const bool overlong = cp < 0x800;
                const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
                *o++ = (overlong || surrogate) ? Replacement : static_cast<char16_t>(cp);
                p += 3;
            } else {
                *o++ = Replacement;
                ++p;
            }
        } else if (c >= 0xF0 && c <= 0xF4) {
            if (end - p >= 4 && isContinuation(p[1]) && isContinuation(p[2]) && isContinuation(p[3])) {
                const char32_t cp = ((c & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
                if (cp < 0x10000 || cp > 0x10FFFF) {
                    *o++ = Replacement;
                } else {
                    const char32_t v = cp - 0x10000;
                    *o++ = static_cast<char16_t>(0xD800 + (v >> 10));
                    *o++ = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
                }
                p += 4;
            } else {
                *o++ = Replacement;
                ++p;
            }
        } else {
            *o++ = Replacement;
            ++p;
        }
    }
    return static_cast<std::size_t>(o - out);
}

std::u16string fromUtf8(std::string_view in)
{
    std::u16string out(in.size(), u'\0');
    out.resize(decodeUtf8(in, out.data()));
    return out;
}

namespace {

template <typename Sink>
void encode(std::u16string_view in, Sink&& put)
{
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t cp = in[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement;
        }
        if (cp < 0x80) {
            put(static_cast<char>(cp));
        } else if (cp < 0x800) {
            put(static_cast<char>(0xC0 | (cp >> 6)));
            put(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            put(static_cast<char>(0xE0 | (cp >> 12)));
            put(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            put(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            put(static_cast<char>(0xF0 | (cp >> 18)));
            put(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            put(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            put(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
}

} // namespace

std::string toUtf8(std::u16string_view in)
{
    std::string out;
    out.reserve(utf8Length(in));
    encode(in, [&](char c) { out.push_back(c); });
    return out;
}

std::size_t utf8Length(std::u16string_view in)
{
    std::size_t n = 0;
    encode(in, [&](char) { ++n; });
    return n;
}

} // namespace quelvo
