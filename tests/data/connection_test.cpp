#include "core/executable_path.h"
#include "support.h"

#include "data/data_error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

using testing_support::fakeService;
using testing_support::ProgramFolder;

namespace {

// The platform's own: the program builds its paths with it.
constexpr char Separator = quelvo::PathSeparator;

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    std::string databasePath(const ProgramFolder& folder) const
    {
        return folder.path() + Separator + "data" + Separator + "BRIVANAATENDIMENTOS.FDB";
    }
};

struct LoginCase {
    const char* name;
    const char* loginIni; // nullptr: no file
    const char* server;   // what comes before "/3050:"
};

class AttachName : public ConnectionTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(AttachName, IsServerSlash3050ColonThenTheDatabaseBesideTheProgram)
{
    ProgramFolder folder;
    if (GetParam().loginIni)
        folder.writeLoginIni(GetParam().loginIni);
    auto service = fakeService(folder);
    service->FDConnection1.open();
    EXPECT_EQ(fake::record().attachName, std::string(GetParam().server) + "/3050:" + databasePath(folder));
}

INSTANTIATE_TEST_SUITE_P(Login, AttachName, ::testing::Values(
    LoginCase{"no_file", nullptr, ""},
    LoginCase{"no_section", "[Other]\r\nServidor=db01\r\n", ""},
    LoginCase{"empty_servidor", "[Connection]\r\nServidor=\r\n", ""},
    LoginCase{"servidor", "[Connection]\r\nServidor=db01\r\n", "db01"},
    LoginCase{"porta_never_changes_the_port", "[Connection]\r\nServidor=db01\r\nPorta=3051\r\n", "db01"},
    LoginCase{"porta_malformed", "[Connection]\r\nPorta=abc\r\n", ""},
    LoginCase{"used_verbatim", "[Connection]\r\nServidor=\" 10.0.0.5/3051:x \"\r\n", " 10.0.0.5/3051:x "},
    LoginCase{"names_ignore_case", "[CONNECTION]\r\nservidor = db01 \r\n", "db01"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Long and odd program folders -----------------------------------------
//
// The client is handed exactly the attach name the program composed, or
// nothing at all: a name that does not fit the client's 16-bit length is
// refused before the library is called.

constexpr const char* DatabaseTail = "BRIVANAATENDIMENTOS.FDB";

std::string composedPath(const std::string& folder)
{
    return folder + Separator + "data" + Separator + DatabaseTail;
}

// A folder below `base` whose attach name ("/3050:" and the path) is `bytes` long.
std::string folderForAttachName(const std::string& base, std::size_t bytes)
{
    const std::size_t fixed = std::string("/3050:").size() + composedPath(base + Separator).size();
    return base + Separator + std::string(bytes - fixed, 'x');
}

struct FolderCase {
    const char* name;
    // The folder handed to the service, made from the test's own folder.
    std::string (*folder)(const std::string& base);
    // The folder the sent database path must start with; null: the attach is refused.
    std::string (*sent)(const std::string& base);
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

std::string tooLong(std::size_t bytes)
{
    return "[FireDAC][Phys][FB]-345. Data too large for variable [Database]. Max len = [32767], actual len = [" +
           std::to_string(bytes) + "] Hint: install the program in a folder with a shorter path";
}

class OddFolder : public ConnectionTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(OddFolder, TheClientGetsExactlyTheComposedNameOrNothing)
{
    ProgramFolder parent;
    const FolderCase& c = GetParam();
    const std::string folder = c.folder(parent.path());
    TServiceConnection service(folder, {FAKE_CLIENT_PATH});
    service.DataModuleCreate();
    if (c.sent) {
        service.FDConnection1.open();
        EXPECT_EQ(fake::record().attachName, "/3050:" + composedPath(c.sent(parent.path())));
        return;
    }
    try {
        service.FDConnection1.open();
        ADD_FAILURE() << "the attach should be refused";
    } catch (const quelvo::DataError& e) {
        EXPECT_EQ(e.what(), tooLong(("/3050:" + composedPath(folder)).size()));
    }
    EXPECT_EQ(fake::count("isc_attach_database"), 0);
    EXPECT_FALSE(service.FDConnection1.isOpen());
    // Refused again, the same way, at the next search.
    EXPECT_THROW(service.FDConnection1.open(), quelvo::DataError);
    EXPECT_EQ(fake::count("isc_attach_database"), 0);
}

INSTANTIATE_TEST_SUITE_P(Folders, OddFolder, ::testing::Values(
    FolderCase{"colon_inside", [](const std::string& b) { return b + Separator + "a:b"; },
               [](const std::string& b) { return b + Separator + "a:b"; }},
    FolderCase{"another_server_inside", [](const std::string& b) { return b + Separator + "db01/3050:x"; },
               [](const std::string& b) { return b + Separator + "db01/3050:x"; }},
    FolderCase{"dot_dot_kept", [](const std::string& b) { return b + Separator + "x" + Separator + ".." + Separator + "y"; },
               [](const std::string& b) { return b + Separator + "x" + Separator + ".." + Separator + "y"; }},
    FolderCase{"trailing_separators", [](const std::string& b) { return b + Separator + "d" + Separator + Separator; },
               [](const std::string& b) { return b + Separator + "d"; }},
    FolderCase{"relative_taken_from_the_working_folder",
               [](const std::string&) { return std::string("rel") + Separator + "dir"; },
               [](const std::string&) {
                   return std::filesystem::current_path().string() + Separator + "rel" + Separator + "dir";
               }},
    FolderCase{"relative_naming_another_server",
               [](const std::string&) { return std::string("db01") + Separator + "3050:x"; },
               [](const std::string&) {
                   return std::filesystem::current_path().string() + Separator + "db01" + Separator + "3050:x";
               }},
    FolderCase{"name_of_32767_bytes", [](const std::string& b) { return folderForAttachName(b, 32767); },
               [](const std::string& b) { return folderForAttachName(b, 32767); }},
    FolderCase{"name_of_32768_bytes", [](const std::string& b) { return folderForAttachName(b, 32768); }, nullptr},
    FolderCase{"name_of_65536_bytes_wraps_to_0", [](const std::string& b) { return folderForAttachName(b, 65536); },
               nullptr},
    FolderCase{"name_of_65556_bytes_wraps_to_20", [](const std::string& b) { return folderForAttachName(b, 65556); },
               nullptr},
    // Bytes count, not characters: 16384 two-byte letters.
    FolderCase{"two_byte_letters_beyond_the_limit",
               [](const std::string& b) {
                   std::string folder = b + Separator;
                   for (int i = 0; i < 16384; ++i)
                       folder += "\xC3\xA7";
                   return folder;
               },
               nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectionTest, ParameterBlockIsTheExact31Bytes)
{
    ProgramFolder folder;
    auto service = fakeService(folder);
    service->FDConnection1.open();
    EXPECT_EQ(fake::record().parameterBlock, testing_support::ParameterBlock);
}

TEST_F(ConnectionTest, ANonAsciiFolderIsSentAsUtf8WithTheUtf8FileNameItem)
{
    ProgramFolder parent;
    const std::string folder = parent.path() + Separator + "Serviços";
    std::filesystem::create_directories(folder);
    TServiceConnection service(folder, {FAKE_CLIENT_PATH});
    service.DataModuleCreate();
    service.FDConnection1.open();
    EXPECT_EQ(fake::record().attachName, "/3050:" + folder + Separator + "data" + Separator + "BRIVANAATENDIMENTOS.FDB");
    EXPECT_NE(fake::record().attachName.find("Servi\xC3\xA7os"), std::string::npos);
    EXPECT_EQ(fake::record().parameterBlock.substr(29), std::string("\x4D\x00", 2));
}

TEST_F(ConnectionTest, ALibraryBefore25GetsNoUtf8FileNameItem)
{
    fake::script().clientVersion = "LI-V2.1.7 Firebird 2.1";
    fake::script().majorVersion = 2;
    fake::script().minorVersion = 1;
    ProgramFolder folder;
    auto service = fakeService(folder);
    service->FDConnection1.open();
    EXPECT_EQ(fake::record().parameterBlock.size(), 29u);
    EXPECT_EQ(fake::record().parameterBlock.back(), '\x03');
}

TEST_F(ConnectionTest, StartUpTouchesNothingAndTheFirstOpenAttachesThenAsksTheVersion)
{
    ProgramFolder folder;
    auto service = fakeService(folder);
    EXPECT_TRUE(fake::record().calls.empty());
    EXPECT_FALSE(service->FDConnection1.library().isLoaded());

    service->FDConnection1.open();
    EXPECT_EQ(fake::record().calls, (std::vector<std::string>{"isc_attach_database", "isc_database_info"}));
    EXPECT_EQ(fake::record().infoItems, "\x67");
    EXPECT_EQ(fake::record().databaseInfoBufferLength, 32761);
    EXPECT_EQ(service->FDConnection1.serverVersion(), "LI-V3.0.11.33637 Firebird 3.0");
}

TEST_F(ConnectionTest, AFailedAttachShowsThePrefixAndEveryLibraryLineJoinedByCrLf)
{
    fake::script().failures["isc_attach_database"] = {fake::status({335544721, 335544722}, "db01")};
    ProgramFolder folder;
    auto service = fakeService(folder);
    try {
        service->FDConnection1.open();
        FAIL() << "attach should fail";
    } catch (const quelvo::DataError& e) {
        EXPECT_STREQ(e.what(), "[FireDAC][Phys][FB]Unable to complete network request to host \"db01\".\r\n"
                               "Failed to establish a connection.");
        EXPECT_EQ(e.code(), 335544721);
    }
    EXPECT_FALSE(service->FDConnection1.isOpen());
    for (const unsigned size : fake::record().interpretBufferSizes)
        EXPECT_EQ(size, 513u);

    // Same settings, next try: it attaches.
    service->FDConnection1.open();
    EXPECT_TRUE(service->FDConnection1.isOpen());
    EXPECT_EQ(fake::record().attaches, 1);
}

TEST_F(ConnectionTest, ALibraryOlderThan20HasItsErrorsReadWithIscInterprete)
{
    fake::script().clientVersion = "LI-V1.5.6 Firebird 1.5";
    fake::script().majorVersion = 1;
    fake::script().minorVersion = 5;
    fake::script().failures["isc_attach_database"] = {fake::status({335544722})};
    ProgramFolder folder;
    auto service = fakeService(folder);
    EXPECT_THROW(service->FDConnection1.open(), quelvo::DataError);
    EXPECT_EQ(fake::count("isc_interprete"), 2); // one line, then none
    EXPECT_TRUE(fake::record().interpretBufferSizes.empty());
}

TEST_F(ConnectionTest, AVersionRequestThatFailsLeavesNoAttachmentBehind)
{
    fake::script().failures["isc_database_info"] = {fake::status({335544569})};
    ProgramFolder folder;
    auto service = fakeService(folder);
    EXPECT_THROW(service->FDConnection1.open(), quelvo::DataError);
    EXPECT_FALSE(service->FDConnection1.isOpen());
    EXPECT_EQ(fake::record().detaches, 1);
}

TEST_F(ConnectionTest, ShutdownDetachesAndIgnoresAServerThatHasGone)
{
    ProgramFolder folder;
    auto service = fakeService(folder);
    service->FDConnection1.open();
    fake::script().failures["isc_detach_database"] = {fake::status({335544726})};
    EXPECT_NO_THROW(service->shutdown());
    EXPECT_FALSE(service->FDConnection1.isOpen());
    EXPECT_EQ(fake::record().detaches, 1);
}

TEST_F(ConnectionTest, ShutdownReportsAnyOtherDetachFailureButDropsTheHandle)
{
    ProgramFolder folder;
    auto service = fakeService(folder);
    service->FDConnection1.open();
    fake::script().failures["isc_detach_database"] = {fake::status({335544569})};
    EXPECT_THROW(service->shutdown(), quelvo::DataError);
    EXPECT_FALSE(service->FDConnection1.isOpen());
}

} // namespace
