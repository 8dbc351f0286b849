#include "core/utf.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define QUELVO_UTF_SSE2 1
#endif

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
        // Most help-desk text is ASCII: take sixteen or eight bytes at a time
        // when we can. A block is widened whole, then only its ASCII prefix
        // kept: each byte read gives at most one unit, so the room reserved
        // for the whole input covers the units written past the prefix.
#ifdef QUELVO_UTF_SSE2
        while (end - p >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(block, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(block, zero));
            const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(block));
            if (high) {
                const int ascii = std::countr_zero(high);
                o += ascii;
                p += ascii;
                break;
            }
            o += 16;
            p += 16;
        }
        // Stopped at a non-ASCII byte, or fewer than sixteen bytes left.
        if (end - p < 16)
#endif
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

std::size_t encodeUtf8(std::u16string_view in, char* out)
{
    const char16_t* p = in.data();
    const char16_t* const end = p + in.size();
    char* o = out;
    while (p < end) {
#ifdef QUELVO_UTF_SSE2
        // Sixteen ASCII units at a time. A block is narrowed whole, then only
        // its ASCII prefix kept: three bytes of room per unit leave space
        // for the bytes written past the prefix.
        while (end - p >= 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
            const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
            const __m128i zero = _mm_setzero_si128();
            const __m128i asciiA = _mm_cmpeq_epi16(_mm_and_si128(a, high), zero);
            const __m128i asciiB = _mm_cmpeq_epi16(_mm_and_si128(b, high), zero);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(a, b));
            const unsigned ascii = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(asciiA, asciiB)));
            if (ascii != 0xFFFF) {
                const int prefix = std::countr_one(ascii);
                o += prefix;
                p += prefix;
                break;
            }
            o += 16;
            p += 16;
        }
        if (p >= end)
            break;
#endif
        char32_t cp = *p++;
        if (cp < 0x80) {
            *o++ = static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*p++ - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement;
        }
        if (cp < 0x800) {
            *o++ = static_cast<char>(0xC0 | (cp >> 6));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *o++ = static_cast<char>(0xE0 | (cp >> 12));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | (cp >> 18));
            *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return static_cast<std::size_t>(o - out);
}

std::string toUtf8(std::u16string_view in)
{
    std::string out(3 * in.size(), '\0');
    out.resize(encodeUtf8(in, out.data()));
    return out;
}

std::size_t utf8Length(std::u16string_view in)
{
    std::size_t n = 0;
    encode(in, [&](char) { ++n; });
    return n;
}

} // namespace quelvo
