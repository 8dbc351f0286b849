#include "core/utf.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf, RoundTripsEveryPlane)
{
    const std::u16string text = u"ASCII then ação, €, 漢字 and \U0001F600 and more ASCII after it";
    EXPECT_EQ(quelvo::fromUtf8(quelvo::toUtf8(text)), text);
    EXPECT_EQ(quelvo::utf8Length(text), quelvo::toUtf8(text).size());
}

TEST(Utf, MalformedInputBecomesReplacementCharacters)
{
    EXPECT_EQ(quelvo::fromUtf8("a\xC3"), u"a\uFFFD");             // cut short
    EXPECT_EQ(quelvo::fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");     // overlong
    EXPECT_EQ(quelvo::fromUtf8("\xED\xA0\x80"), u"\uFFFD");       // encoded surrogate
    EXPECT_EQ(quelvo::fromUtf8("\xF4\x90\x80\x80"), u"\uFFFD");   // above U+10FFFF
    EXPECT_EQ(quelvo::fromUtf8("12345678\xFFz"), u"12345678\uFFFDz");
}

TEST(Utf, LoneSurrogatesEncodeAsReplacement)
{
    EXPECT_EQ(quelvo::toUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(quelvo::toUtf8(u"x\xDC00"), "x\xEF\xBF\xBD");
}

// The fast paths take blocks of sixteen and eight units: one special
// character at every position across the block edges, with ASCII after it
// of no, one and more than one block's length.
TEST(Utf, BlockEdges)
{
    struct Case {
        std::u16string wide;
        std::string utf8;
        bool encodes; // wide -> utf8
        bool decodes; // utf8 -> wide
    };
    const Case cases[] = {
        {u"\u00E7", "\xC3\xA7", true, true},
        {u"\u20AC", "\xE2\x82\xAC", true, true},
        {u"\U0001F600", "\xF0\x9F\x98\x80", true, true},
        {u"\x7F", "\x7F", true, true},
        {u"\u0080", "\xC2\x80", true, true},
        {u"\xD800", "\xEF\xBF\xBD", true, false}, // lone surrogate
        {u"\uFFFD", "\xFF", false, true},           // malformed byte
        {u"a\uFFFD", "a\xC3", false, true},         // cut short
    };
    for (const Case& c : cases) {
        for (std::size_t before = 0; before <= 40; ++before) {
            for (const std::size_t after : {0, 1, 7, 8, 15, 16, 17, 33}) {
                const std::u16string wide = std::u16string(before, u'a') + c.wide + std::u16string(after, u'b');
                const std::string utf8 = std::string(before, 'a') + c.utf8 + std::string(after, 'b');
                if (c.encodes) {
                    EXPECT_EQ(quelvo::toUtf8(wide), utf8) << "before " << before << ", after " << after;
                }
                if (c.decodes) {
                    EXPECT_EQ(quelvo::fromUtf8(utf8), wide) << "before " << before << ", after " << after;
                }
            }
        }
    }
}

} // namespace
