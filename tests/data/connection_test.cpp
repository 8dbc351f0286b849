#include "core/executable_path.h"
#include "support.h"

#include <gtest/gtest.h>

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
