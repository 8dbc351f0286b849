// Login.ini on Windows. The reader's own parser (the one other platforms use)
// against the Windows profile functions: for every file in the table, each
// name asked for reads the same through both. And the file itself, read on
// Windows through the profile functions, from any folder.

#include "core/profile_reader.h"
#include "core/utf.h"
#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using quelvo::ProfileReader;

namespace {

struct ProfileFileCase {
    const char* name;
    std::string bytes;
};

struct Lookup {
    const char16_t* section;
    const char16_t* key;
};

// What Login.ini is asked for, and other spellings of it.
const Lookup Lookups[] = {
    {u"Connection", u"Servidor"},
    {u"Connection", u"Porta"},
    {u"CONNECTION", u"servidor"},
    {u"Other", u"Servidor"},
};

constexpr DWORD ValueBufferLength = 2048; // what Delphi's TIniFile.ReadString passes

std::u16string systemProfileString(const std::string& path, const Lookup& lookup)
{
    std::vector<wchar_t> buffer(ValueBufferLength);
    const DWORD n = GetPrivateProfileStringW(windows_test::wide(lookup.section).c_str(),
                                             windows_test::wide(lookup.key).c_str(), L"<default>", buffer.data(),
                                             ValueBufferLength, windows_test::wide(path).c_str());
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), n);
}

std::string utf16(const std::u16string& text)
{
    std::string bytes("\xFF\xFE", 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

class ParserAgainstTheProfileFunctions : public ::testing::TestWithParam<ProfileFileCase> {};

TEST_P(ParserAgainstTheProfileFunctions, EveryLookupReadsTheSame)
{
    windows_test::TempFolder folder;
    const std::string path = folder.path() + "\\Login.ini";
    windows_test::writeFile(path, GetParam().bytes);

    const ProfileReader parser = ProfileReader::fromBytes(GetParam().bytes);
    for (const Lookup& lookup : Lookups) {
        EXPECT_EQ(parser.readString(lookup.section, lookup.key, u"<default>"), systemProfileString(path, lookup))
            << "[" << quelvo::toUtf8(lookup.section) << "] " << quelvo::toUtf8(lookup.key);
    }
}

// Files without a byte-order mark are left out: Windows reads them in its
// ANSI code page, other systems in UTF-8.
INSTANTIATE_TEST_SUITE_P(Files, ParserAgainstTheProfileFunctions, ::testing::Values(
    ProfileFileCase{"plain", "[Connection]\r\nServidor=db01\r\nPorta=3050\r\n"},
    ProfileFileCase{"unix_line_ends", "[Connection]\nServidor=db01\nPorta=3051\n"},
    ProfileFileCase{"no_final_line_end", "[Connection]\r\nServidor=db01"},
    ProfileFileCase{"names_ignore_case", "[connection]\r\nSERVIDOR=db01\r\n"},
    ProfileFileCase{"blanks_and_tabs_dropped", "  [Connection]  \r\n \t Servidor \t=\t  db 01 \t \r\n"},
    ProfileFileCase{"blanks_inside_brackets", "[ Connection ]\r\nServidor=db01\r\n"},
    ProfileFileCase{"double_quotes_dropped", "[Connection]\r\nServidor=\" db01 \"\r\n"},
    ProfileFileCase{"single_quotes_dropped", "[Connection]\r\nServidor='db01'\r\n"},
    ProfileFileCase{"only_one_pair", "[Connection]\r\nServidor=\"\"db01\"\"\r\n"},
    ProfileFileCase{"unmatched_quotes_kept", "[Connection]\r\nServidor=\"db01'\r\nPorta=\"\r\n"},
    ProfileFileCase{"first_key_wins", "[Connection]\r\nServidor=a\r\nServidor=b\r\n"},
    ProfileFileCase{"first_section_wins", "[Connection]\r\nServidor=a\r\n[Connection]\r\nServidor=b\r\n"},
    ProfileFileCase{"other_section", "[Other]\r\nServidor=a\r\n"},
    ProfileFileCase{"key_before_any_section", "Servidor=a\r\n[Connection]\r\nPorta=1\r\n"},
    ProfileFileCase{"comment_lines", "; Servidor=x\r\n[Connection]\r\n;Servidor=y\r\nServidor=z ; not a comment\r\n"},
    ProfileFileCase{"key_without_equals", "[Connection]\r\nServidor\r\nPorta=1\r\n"},
    ProfileFileCase{"equals_in_value", "[Connection]\r\nServidor=a=b\r\n"},
    ProfileFileCase{"empty_value", "[Connection]\r\nServidor=\r\n"},
    ProfileFileCase{"text_after_bracket", "[Connection] old\r\nServidor=db01\r\n"},
    ProfileFileCase{"long_value", "[Connection]\r\nServidor=" + std::string(3000, 'x') + "\r\n"},
    ProfileFileCase{"utf8_with_mark", "\xEF\xBB\xBF[Connection]\r\nServidor=servi\xC3\xA7os\r\n"},
    ProfileFileCase{"utf16_with_mark", utf16(u"[Connection]\r\nServidor=serviços\r\nPorta=Ωμέγα\r\n")},
    ProfileFileCase{"empty_file", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the parser still reads differently from the profile functions (as
// Wine implements them). Not on the road of any Login.ini the program writes
// or documents; kept here, switched off, until the parser follows.
INSTANTIATE_TEST_SUITE_P(DISABLED_KnownDifferences, ParserAgainstTheProfileFunctions, ::testing::Values(
    ProfileFileCase{"key_only_in_a_second_copy_of_the_section", "[Connection]\r\nPorta=1\r\n[Connection]\r\nServidor=b\r\n"},
    ProfileFileCase{"bracket_inside_the_name", "[Connection]x]\r\nServidor=db01\r\n"},
    ProfileFileCase{"unclosed_section", "[Connection\r\nServidor=db01\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct WindowsFileCase {
    const char* name;
    std::string bytes;
    std::u16string servidor;
};

class LoginIniOnWindows : public ::testing::TestWithParam<WindowsFileCase> {};

TEST_P(LoginIniOnWindows, ReadsAsEveryWindowsProgramReadsIt)
{
    windows_test::TempFolder folder;
    const std::string path = folder.path() + "\\Login.ini";
    windows_test::writeFile(path, GetParam().bytes);
    ASSERT_EQ(GetACP(), 1252u) << "the expected texts are those of a Western European system";
    EXPECT_EQ(ProfileReader::fromFile(path).readString(u"Connection", u"Servidor", u"<default>"),
              GetParam().servidor);
}

INSTANTIATE_TEST_SUITE_P(Files, LoginIniOnWindows, ::testing::Values(
    WindowsFileCase{"plain", "[Connection]\r\nServidor=db01\r\n", u"db01"},
    WindowsFileCase{"quoted", "[connection]\r\nSERVIDOR = \" db01 \" \r\n", u" db01 "},
    // Notepad's "ANSI", in the Western European code page of the test machine.
    WindowsFileCase{"ansi_letters", "[Connection]\r\nServidor=servi\xE7os\r\n", u"serviços"},
    // Without a mark, UTF-8 bytes are ANSI text to Windows, as to the original program.
    WindowsFileCase{"utf8_without_mark", "[Connection]\r\nServidor=servi\xC3\xA7os\r\n", u"serviÃ§os"},
    WindowsFileCase{"utf16_with_mark", utf16(u"[Connection]\r\nServidor=Ωμέγα\r\n"), u"Ωμέγα"},
    WindowsFileCase{"long_value", "[Connection]\r\nServidor=" + std::string(3000, 'x') + "\r\n",
                    std::u16string(2047, u'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoginIniFile, IsFoundInAFolderWithLettersOutsideTheAnsiCodePage)
{
    // Greek and Portuguese letters: no single ANSI code page holds both.
    windows_test::TempFolder folder(u8"Serviços Ωμέγα");
    const std::string path = folder.path() + "\\Login.ini";
    windows_test::writeFile(path, "[Connection]\r\nServidor=db01\r\nPorta=3051\r\n");
    const ProfileReader profile = ProfileReader::fromFile(path);
    EXPECT_EQ(profile.readString(u"Connection", u"Servidor", u""), u"db01");
    EXPECT_EQ(profile.readInteger(u"Connection", u"Porta", 0), 3051);
}

TEST(LoginIniFile, MissingGivesTheDefaults)
{
    windows_test::TempFolder folder;
    const ProfileReader profile = ProfileReader::fromFile(folder.path() + "\\Login.ini");
    EXPECT_EQ(profile.readString(u"Connection", u"Servidor", u""), u"");
    EXPECT_EQ(profile.readInteger(u"Connection", u"Porta", 0), 0);
}

} // namespace
