// Upper-casing on Windows goes through CharUpperBuffW over the whole copy.

#include "core/text_case.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CaseMapping {
    const char* name;
    std::u16string text;
    std::u16string upper;
};

class UpperCasingOnWindows : public ::testing::TestWithParam<CaseMapping> {};

TEST_P(UpperCasingOnWindows, MapsEveryUnitOneForOne)
{
    EXPECT_EQ(quelvo::upperCase(GetParam().text), GetParam().upper);
}

INSTANTIATE_TEST_SUITE_P(Texts, UpperCasingOnWindows, ::testing::Values(
    CaseMapping{"portuguese", u"àáâãçéêíóôõúü", u"ÀÁÂÃÇÉÊÍÓÔÕÚÜ"},
    CaseMapping{"pattern_characters_stay", u"%_0-9!?[]", u"%_0-9!?[]"},
    CaseMapping{"past_an_embedded_nul", std::u16string(u"erro\0ao", 7), std::u16string(u"ERRO\0AO", 7)},
    CaseMapping{"no_one_unit_capital", u"ß", u"ß"},
    CaseMapping{"outside_the_basic_plane_stays", u"\U0001F600a", u"\U0001F600A"},
    CaseMapping{"empty", u"", u""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
