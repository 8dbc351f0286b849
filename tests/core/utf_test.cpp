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

} // namespace
