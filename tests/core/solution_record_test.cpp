#include "core/solution_record.h"

#include <gtest/gtest.h>

namespace {

struct RecordCase {
    const char* name;
    const char16_t* record;
    const char16_t* date;
    const char16_t* analyst;
    const char16_t* solution;
};

class SolutionRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(SolutionRecord, SplitsIntoTheThreeShownPieces)
{
    const auto shown = quelvo::splitSolutionRecord(GetParam().record);
    EXPECT_EQ(shown.dateCaption, GetParam().date);
    EXPECT_EQ(shown.analystCaption, GetParam().analyst);
    EXPECT_EQ(shown.solutionText, GetParam().solution);
}

INSTANTIATE_TEST_SUITE_P(Cases, SolutionRecord, ::testing::Values(
    RecordCase{"well_formed", u"10/12/26 14:05╗Ana╗Reinstalar", u"Data:10/12/26 14:05", u"Suporte:Ana", u"Reinstalar"},
    RecordCase{"hidden_head_text", u"10/12/26 14:05 - nº 7╗Ana╗Body", u"Data:10/12/26 14:05", u"Suporte:Ana", u"Body"},
    RecordCase{"third_separator", u"10/12/26 14:05╗Ana╗B╗C", u"Data:10/12/26 14:05", u"Suporte:Ana", u"B╗C"},
    RecordCase{"one_separator", u"10/12/26 14:05╗Ana", u"Data:10/12/26 14:05", u"", u"Suporte:Ana"},
    RecordCase{"no_separator", u"only some text here", u"Data:only some text", u"", u"Suporte:only some text here"},
    RecordCase{"empty", u"", u"Data:", u"", u"Suporte:"},
    RecordCase{"shorter_than_14", u"ab╗c╗d", u"Data:ab╗c╗d", u"Suporte:c", u"d"},
    RecordCase{"separator_in_date", u"10/12╗Ana╗Body text", u"Data:10/12╗Ana╗Body", u"Suporte:Ana", u"Body text"},
    RecordCase{"line_breaks_kept", u"10/12/26 14:05╗Ana╗1.\r\n2.", u"Data:10/12/26 14:05", u"Suporte:Ana", u"1.\r\n2."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
