// What the error box shows: caption from the program file, text with the
// final-stop rule.

#include "ui/error_box.h"
#include "ui/error_guard.h"

#include "core/utf.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace ui;

namespace {

TEST(ErrorBox, AFullStopOnlyAfterCharactersThatSortAfterIt)
{
    struct Case {
        const char* message;
        const char* shown;
    } cases[] = {
        {"[FireDAC][Phys][FB]", "[FireDAC][Phys][FB]."},
        {"done.", "done."},
        {"(OleStr)", "(OleStr)"},
        {"a\r\n", "a\r\n"},
        {"trailing blank ", "trailing blank "},
        {"digit 9", "digit 9."},
        {"não", "não."},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(errorBoxFor(u"C:\\Apps\\Quelvo.exe", c.message).text, quelvo::fromUtf8(c.shown));
    }
}

TEST(ErrorBox, TheCaptionIsTheProgramFilesTitle)
{
    struct Case {
        const char16_t* path;
        const char16_t* caption;
    } cases[] = {
        {u"C:\\Apps\\Quelvo.exe", u"Quelvo"},
        {u"D:\\x\\HELPDESK.Tool.exe", u"Helpdesk"},
        {u"/opt/quelvo/Quelvo", u"Quelvo"},
        {u"/opt/quelvo/quelvo", u"quelvo"},
        {u"C:\\Serviços\\ÁREA.exe", u"Área"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorBoxFor(c.path, "x").caption, c.caption);
}

TEST(ErrorGuard, AnEscapingErrorReachesTheHandlerAndTheCallerGoesOn)
{
    std::vector<std::string> reported;
    setErrorHandler([&](const std::string& m) { reported.push_back(m); });
    EXPECT_TRUE(guarded([] {}));
    EXPECT_FALSE(guarded([] { throw std::runtime_error("boom"); }));
    EXPECT_FALSE(guarded([] { throw 42; }));
    EXPECT_EQ(reported, (std::vector<std::string>{"boom", "Unknown error"}));
    setErrorHandler([](const std::string&) {});
}

} // namespace
