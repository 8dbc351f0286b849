#include "core/profile_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using quelvo::ProfileReader;

namespace {

struct ProfileCase {
    const char* name;
    std::string file;
    const char16_t* servidor;
};

class ProfileServidor : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileServidor, ReadsTheWayTheWindowsProfileFunctionsDo)
{
    const auto profile = ProfileReader::fromBytes(GetParam().file);
    EXPECT_EQ(profile.readString(u"Connection", u"Servidor", u"none"), GetParam().servidor);
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileServidor, ::testing::Values(
    ProfileCase{"plain", "[Connection]\r\nServidor=db01\r\nPorta=3050\r\n", u"db01"},
    ProfileCase{"names_ignore_case", "[connection]\nSERVIDOR=db01\n", u"db01"},
    ProfileCase{"blanks_dropped", "  [ Connection ]  \n  Servidor  =   db 01   \n", u"db 01"},
    ProfileCase{"double_quotes_dropped", "[Connection]\nServidor=\" db01 \"\n", u" db01 "},
    ProfileCase{"single_quotes_dropped", "[Connection]\nServidor='db01'\n", u"db01"},
    ProfileCase{"only_one_pair", "[Connection]\nServidor=\"\"db01\"\"\n", u"\"db01\""},
    ProfileCase{"unmatched_quote_kept", "[Connection]\nServidor=\"db01\n", u"\"db01"},
    ProfileCase{"first_key_wins", "[Connection]\nServidor=a\nServidor=b\n", u"a"},
    ProfileCase{"first_section_wins", "[Connection]\nServidor=a\n[Connection]\nServidor=b\n", u"a"},
    ProfileCase{"other_section", "[Other]\nServidor=a\n", u"none"},
    ProfileCase{"key_before_any_section", "Servidor=a\n[Connection]\n", u"none"},
    ProfileCase{"empty_value", "[Connection]\nServidor=\n", u""},
    ProfileCase{"utf8_bom", "\xEF\xBB\xBF[Connection]\nServidor=serviços\n", u"serviços"},
    ProfileCase{"utf16_bom", std::string("\xFF\xFE[\0C\0o\0n\0n\0e\0c\0t\0i\0o\0n\0]\0\n\0S\0e\0r\0v\0i\0d\0o\0r\0=\0h\0\n\0", 50), u"h"},
    ProfileCase{"empty_file", "", u"none"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, ValuesAreReadUpTo2047Characters)
{
    const std::string longValue(3000, 'x');
    const auto profile = ProfileReader::fromBytes("[Connection]\nServidor=" + longValue + "\n");
    EXPECT_EQ(profile.readString(u"Connection", u"Servidor", u""), std::u16string(2047, u'x'));
}

TEST(Profile, IntegersFallBackOnAnythingMalformed)
{
    const auto profile = ProfileReader::fromBytes(
        "[Connection]\nA=3051\nB=-7\nC=$1F\nD=0x10\nE=30x\nF=\nG=99999999999\nH= 12 \n");
    EXPECT_EQ(profile.readInteger(u"Connection", u"A", 0), 3051);
    EXPECT_EQ(profile.readInteger(u"Connection", u"B", 0), -7);
    EXPECT_EQ(profile.readInteger(u"Connection", u"C", 0), 31);
    EXPECT_EQ(profile.readInteger(u"Connection", u"D", 0), 16);
    EXPECT_EQ(profile.readInteger(u"Connection", u"E", 5), 5);
    EXPECT_EQ(profile.readInteger(u"Connection", u"F", 5), 5);
    EXPECT_EQ(profile.readInteger(u"Connection", u"G", 5), 5);
    EXPECT_EQ(profile.readInteger(u"Connection", u"H", 5), 12);
    EXPECT_EQ(profile.readInteger(u"Connection", u"Missing", 5), 5);
}

TEST(Profile, MissingFileReadsAsEmpty)
{
    const auto profile = ProfileReader::fromFile("/nonexistent/folder/Login.ini");
    EXPECT_EQ(profile.readString(u"Connection", u"Servidor", u"d"), u"d");
}

} // namespace
