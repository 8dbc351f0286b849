#include "core/search_pattern.h"
#include "core/text_case.h"
#include "support/visiting_pattern.h"

#include <gtest/gtest.h>

#include <random>

using quelvo::buildSearchPattern;

namespace {

struct PatternCase {
    const char16_t* typed;
    const char16_t* pattern;
};

class SearchPatternTable : public ::testing::TestWithParam<PatternCase> {};

TEST_P(SearchPatternTable, TypedTextGivesThePatternSent)
{
    EXPECT_EQ(buildSearchPattern(GetParam().typed), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(SearchPattern, SearchPatternTable,
    ::testing::Values(
        PatternCase{u"", u"%"},
        PatternCase{u"   ", u"%"},
        PatternCase{u"erro", u"%ERRO%"},
        PatternCase{u"erro ao salvar", u"%ERRO%AO%SALVAR%"},
        PatternCase{u"  erro  ao   salvar  ", u"%ERRO%AO%SALVAR%"},
        PatternCase{u"erro\r\nao salvar", u"%ERRO%AO%SALVAR%"},
        PatternCase{u"nota\t\tfiscal", u"%NOTA%FISCAL%"},
        PatternCase{u"100%", u"%100%"},
        PatternCase{u"50% off", u"%50%OFF%"},
        PatternCase{u"a%%b", u"%A%B%"},
        PatternCase{u"cód_01", u"%CÓD_01%"},
        PatternCase{u"ação não", u"%AÇÃO%NÃO%"},
        PatternCase{u"nota\u00A0fiscal", u"%NOTA\u00A0FISCAL%"},
        // Above 255 nothing is a separator, even with a blank as low byte.
        PatternCase{u"a\u0120b", u"%A\u0120B%"},
        PatternCase{u"%", u"%"},
        PatternCase{u"\n", u"%"}));

TEST(SearchPattern, RemoveCaracteresLeavesCaseAndUsesOnlyTheGivenSet)
{
    quelvo::CharSet commaOnly;
    commaOnly.set(u',');
    std::u16string s = u"ab, c,,d e";
    quelvo::RemoveCaracteres(s, commaOnly);
    EXPECT_EQ(s, u"%ab% c%d e%");
}

// The one-pass builder against the visiting algorithm it replaces.
TEST(SearchPattern, MatchesTheVisitingAlgorithmOnRandomTexts)
{
    const std::u16string alphabet = u" \t\r\n%%_aZé\u00A0\u0120\u0109x";
    std::mt19937 random(20261210);
    for (int round = 0; round < 20000; ++round) {
        std::u16string text(random() % 24, u'\0');
        for (char16_t& c : text)
            c = alphabet[random() % alphabet.size()];
        std::u16string fast = text;
        std::u16string slow = text;
        quelvo::RemoveCaracteres(fast, quelvo::searchSeparators());
        quelvo::testing::visitingRemoveCaracteres(slow, quelvo::searchSeparators());
        ASSERT_EQ(fast, slow) << "round " << round;
        ASSERT_EQ(fast.find(u"%%"), std::u16string::npos);
    }
}

TEST(TextCase, UpperCasingKeepsOneUnitForOne)
{
    EXPECT_EQ(quelvo::upperCase(u"áãçéõ àü ñ"), u"ÁÃÇÉÕ ÀÜ Ñ");
    EXPECT_EQ(quelvo::upperCase(u"0-9 % _ ! ?"), u"0-9 % _ ! ?");
    // ß has no one-unit capital and stays; a lone surrogate stays as it is.
    EXPECT_EQ(quelvo::upperCase(u"ß\xD800x"), u"ß\xD800X");
    EXPECT_EQ(quelvo::upperCase(u"\U0001F600a"), u"\U0001F600A");
}

} // namespace
