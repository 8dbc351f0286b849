#include "data/client_library.h"
#include "support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using quelvo::ClientLibrary;
using testing_support::Error314Hint;
using testing_support::loadError;
using testing_support::ProgramFolder;

namespace {

TEST(LoadingTheLibrary, NoNameLoadsGivesError314WithTheNamesTriedAndTheLastSystemText)
{
    ClientLibrary library({"libquelvo-none-a.so", "libquelvo-none-b.so"});
    EXPECT_EQ(loadError(library),
              "[FireDAC][Phys][FB]-314. Cannot load vendor library [libquelvo-none-a.so or libquelvo-none-b.so]. "
              "libquelvo-none-b.so: cannot open shared object file: No such file or directory\r\n" +
                  Error314Hint);
    EXPECT_FALSE(library.isLoaded());
}

TEST(LoadingTheLibrary, AFileOfAnotherArchitectureIsNamed)
{
    ProgramFolder folder;
    // Just enough of a 32-bit ELF header for the loader to tell the class.
    std::string header(64, '\0');
    header.replace(0, 7, "\x7F" "ELF\x01\x01\x01");
    const std::string path = folder.path() + "/libfbclient32.so";
    std::ofstream(path, std::ios::binary) << header;

    ClientLibrary library({path, "libquelvo-none.so"});
    const std::string message = loadError(library);
    EXPECT_NE(message.find("Cannot load vendor library [" + path + " or libquelvo-none.so]. " + path +
                           " has unsupported architecture [x86]. Required [x64].\r\nlibquelvo-none.so: cannot open"),
              std::string::npos)
        << message;
}

struct SystemTextCase {
    const char* systemText;
    const char* shown;
};

class Error314SystemText : public ::testing::TestWithParam<SystemTextCase> {};

TEST_P(Error314SystemText, TrailingBlanksAndFullStopsGoAndOneLineBreakFollows)
{
    const std::string text = quelvo::cannotLoadText({{"a.dll", "x", false}, {"b.dll", GetParam().systemText, false}});
    EXPECT_EQ(text, std::string("Cannot load vendor library [a.dll or b.dll]. ") + GetParam().shown + Error314Hint);
}

INSTANTIATE_TEST_SUITE_P(Rule, Error314SystemText, ::testing::Values(
    SystemTextCase{"The specified module could not be found.\r\n", "The specified module could not be found.\r\n"},
    SystemTextCase{"Not found. . ", "Not found\r\n"},
    SystemTextCase{"Not found", "Not found\r\n"},
    SystemTextCase{"", "\r\n"}));

TEST(LoadingTheLibrary, ThreeNamesAreJoinedWithCommasAndOr)
{
    EXPECT_EQ(quelvo::cannotLoadText({{"a", "", false}, {"b", "", false}, {"c", "", false}}).substr(0, 40),
              "Cannot load vendor library [a, b or c]. ");
}

TEST(LoadingTheLibrary, AFailedLoadIsTriedAgainAtTheNextUse)
{
    ProgramFolder folder;
    const std::string path = folder.path() + "/libfbclient.so.2";
    ClientLibrary library({path});
    EXPECT_NE(loadError(library).find("-314. "), std::string::npos);

    std::filesystem::copy_file(FAKE_CLIENT_PATH, path);
    library.load();
    EXPECT_TRUE(library.isLoaded());
}

TEST(LoadingTheLibrary, MissingEntryPointsGiveError315NamingThemOnePerLine)
{
    ClientLibrary library({FAKE_PARTIAL_CLIENT_PATH});
    EXPECT_EQ(loadError(library), "[FireDAC][Phys][FB]-315. Cannot get vendor library entry point[s]. "
                                  "[isc_dsql_sql_info\r\nisc_dsql_describe_bind]");
    EXPECT_FALSE(library.isLoaded());
}

struct VersionCase {
    const char* clientVersion;
    int major;
    int minor;
    bool utf8FileNames;
    bool fbInterpret;
};

class LibraryVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(LibraryVersion, DecidesAttachNameEncodingAndErrorTextCall)
{
    fake::reset();
    fake::script().clientVersion = GetParam().clientVersion;
    fake::script().majorVersion = GetParam().major;
    fake::script().minorVersion = GetParam().minor;
    ClientLibrary library({FAKE_CLIENT_PATH});
    library.load();
    EXPECT_EQ(library.takesUtf8FileNames(), GetParam().utf8FileNames);
    EXPECT_EQ(library.usesFbInterpret(), GetParam().fbInterpret);
}

INSTANTIATE_TEST_SUITE_P(Versions, LibraryVersion, ::testing::Values(
    VersionCase{"LI-V3.0.11.33637 Firebird 3.0", 3, 0, true, true},
    VersionCase{"LI-V2.5.9.27139 Firebird 2.5", 2, 5, true, true},
    VersionCase{"LI-V2.1.7.18553 Firebird 2.1", 2, 1, false, true},
    VersionCase{"LI-V1.5.6 Firebird 1.5", 1, 5, false, false},
    VersionCase{"WI-V7.1 InterBase", 7, 1, false, false}));

} // namespace
