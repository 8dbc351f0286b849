// quelvo-search.exe as a user runs it: with no client library anywhere, with
// one beside it in a folder whose name holds letters outside ASCII, and with
// the command lines of the table that the Linux tests run too.

#include "search_tool_cases.h"
#include "support.h"
#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string searchTool() { return windows_test::programFolder() + "\\quelvo-search.exe"; }

std::string moduleNotFoundText()
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_MOD_NOT_FOUND, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = text ? text : L"";
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L'.'))
        words.pop_back();
    return windows_test::utf8(words);
}

TEST(SearchTool, WithoutAnyClientLibraryPrintsError314AndFails)
{
    windows_test::TempFolder elsewhere;
    const auto result = windows_test::run(searchTool(), {"erro", "ao", "salvar"}, elsewhere.path());
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "[FireDAC][Phys][FB]-314. Cannot load vendor library [fbclient.dll or fbembed.dll]. " +
                              moduleNotFoundText() + "\r\n" + testing_support::Error314Hint + "\n");
}

TEST(SearchTool, FindsTheClientLibraryInItsOwnFolder)
{
    windows_test::TempFolder folder(u8"Serviços Ωμέγα");
    windows_test::copyFile(searchTool(), folder.path() + "\\quelvo-search.exe");
    windows_test::copyFile(windows_test::programFolder() + "\\" FAKE_CLIENT_PATH, folder.path() + "\\fbclient.dll");
    windows_test::writeFile(folder.path() + "\\Login.ini", "[Connection]\r\nServidor=127.0.0.1\r\n");
    windows_test::TempFolder elsewhere;

    // The fake answers every search with no rows.
    const auto result = windows_test::run(folder.path() + "\\quelvo-search.exe", {"ação", "não"}, elsewhere.path());
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
}

TEST(SearchTool, CommandLineConventions)
{
    windows_test::TempFolder elsewhere;
    for (const search_tool::CommandLineCase& c : search_tool::commandLineCases()) {
        std::string shown = "quelvo-search.exe";
        for (const std::string& argument : c.arguments)
            shown += " \"" + argument + "\"";
        const auto result = windows_test::run(searchTool(), c.arguments, elsewhere.path());
        EXPECT_EQ(result.exitCode, static_cast<unsigned long>(c.exitCode)) << shown;
        EXPECT_EQ(c.outIsPrefix ? result.out.substr(0, c.out.size()) : result.out, c.out) << shown;
        EXPECT_EQ(result.err, c.err) << shown;
    }
}

} // namespace
