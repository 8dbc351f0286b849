#include "core/app_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplicationTitle, FileNameCutAtFirstDotWithTheRestInLowerCase)
{
    EXPECT_EQ(quelvo::applicationTitle(u"C:\\Apps\\HELPDESK.Tool.exe"), u"Helpdesk");
    EXPECT_EQ(quelvo::applicationTitle(u"/opt/quelvo/quelvo"), u"quelvo");
    EXPECT_EQ(quelvo::applicationTitle(u"/opt/quelvo/Quelvo"), u"Quelvo");
    EXPECT_EQ(quelvo::applicationTitle(u"/opt/quelvo/Quelvo-Search"), u"Quelvo-search");
    EXPECT_EQ(quelvo::applicationTitle(u"/x/ÉQUIPE.bin"), u"Équipe");
    EXPECT_EQ(quelvo::applicationTitle(u"/x/.hidden"), u"");
}

struct BoxCase {
    const char16_t* message;
    const char16_t* shown;
};

class ErrorBoxText : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ErrorBoxText, FullStopAddedOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(quelvo::errorBoxText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Rule, ErrorBoxText,
    ::testing::Values(BoxCase{u"", u""},
                      BoxCase{u"ends with a letter", u"ends with a letter."},
                      BoxCase{u"code 42", u"code 42."},
                      BoxCase{u"[FireDAC][Phys][FB]", u"[FireDAC][Phys][FB]."},
                      BoxCase{u"already.", u"already."},
                      BoxCase{u"(paren)", u"(paren)"},
                      BoxCase{u"blank ", u"blank "},
                      BoxCase{u"line\r\n", u"line\r\n"},
                      BoxCase{u"slash/", u"slash/."},
                      BoxCase{u"comma,", u"comma,"},
                      BoxCase{u"ação", u"ação."}));

} // namespace
