// The attach name and parameter block on Windows, for a program folder whose
// name holds letters outside ASCII: from the program's own module name,
// through Login.ini in that folder, to the bytes the client library gets.

#include "fake_client.h"
#include "service/service_connection.h"
#include "support.h"
#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const std::string Database = "\\data\\BRIVANAATENDIMENTOS.FDB";

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        out.push_back(digits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(digits[static_cast<unsigned char>(c) & 0xF]);
    }
    return out;
}

class AttachOnWindows : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    void attach(const std::string& folder)
    {
        windows_test::writeFile(folder + "\\Login.ini", "[Connection]\r\nServidor=127.0.0.1\r\n");
        TServiceConnection service(folder, {FAKE_CLIENT_PATH});
        service.DataModuleCreate();
        service.FDConnection1.open();
        service.shutdown();
    }
};

TEST_F(AttachOnWindows, ACurrentLibraryGetsTheNameInUtf8AndTheUtf8FileNameItem)
{
    windows_test::TempFolder folder(u8"Serviços Ωμέγα");
    attach(folder.path());
    EXPECT_EQ(fake::record().attachName, "127.0.0.1/3050:" + folder.path() + Database);
    EXPECT_NE(fake::record().attachName.find("Servi\xC3\xA7os \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1-"),
              std::string::npos);
    EXPECT_EQ(hex(fake::record().parameterBlock), hex(testing_support::ParameterBlock));
}

TEST_F(AttachOnWindows, ALibraryBefore25GetsTheNameInTheAnsiCodePage)
{
    ASSERT_EQ(GetACP(), 1252u) << "the expected bytes are those of a Western European system";
    fake::script().clientVersion = "WI-V2.1.7.18553 Firebird 2.1";
    fake::script().majorVersion = 2;
    fake::script().minorVersion = 1;
    windows_test::TempFolder folder(u8"Serviços");
    attach(folder.path());

    std::string ansiFolder = folder.path();
    ansiFolder.replace(ansiFolder.find("Servi\xC3\xA7os"), 9, "Servi\xE7os");
    EXPECT_EQ(fake::record().attachName, "127.0.0.1/3050:" + ansiFolder + Database);
    EXPECT_EQ(hex(fake::record().parameterBlock), hex(testing_support::ParameterBlock.substr(0, 29)));
}

TEST_F(AttachOnWindows, TheLibrarysErrorLinesAreReadInTheAnsiCodePage)
{
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are Western European text";
    fake::script().failures["isc_attach_database"] = {fake::status({335544721, 335544722}, "servi\xE7o")};
    windows_test::TempFolder folder;
    TServiceConnection service(folder.path(), {FAKE_CLIENT_PATH});
    service.DataModuleCreate();
    try {
        service.FDConnection1.open();
        FAIL() << "the attach should fail";
    } catch (const quelvo::DataError& e) {
        EXPECT_STREQ(e.what(), "[FireDAC][Phys][FB]Unable to complete network request to host \"servi\xC3\xA7o\".\r\n"
                               "Failed to establish a connection.");
    }
}

// The whole road from a real program file: this test program, copied with
// the fake library into such a folder, attaches as the program does and
// prints what the library got (see attachProbe).
TEST(AttachFromTheProgramFolder, TheNameCarriesTheFolderOfTheRunningProgram)
{
    windows_test::TempFolder folder(u8"Atendimento Serviços Ωμέγα");
    const std::string from = windows_test::programFolder();
    windows_test::copyFile(from + "\\windows_tests.exe", folder.path() + "\\windows_tests.exe");
    windows_test::copyFile(from + "\\" FAKE_CLIENT_PATH, folder.path() + "\\" FAKE_CLIENT_PATH);
    windows_test::writeFile(folder.path() + "\\Login.ini", "[Connection]\r\nServidor=db01\r\n");

    const auto result = windows_test::run(folder.path() + "\\windows_tests.exe", {"--attach-probe"});
    ASSERT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(result.out, hex("db01/3050:" + folder.path() + Database) + "\n" + hex(testing_support::ParameterBlock) + "\n");
}

} // namespace

// Run as `windows_tests --attach-probe`: the connection service of the
// program's own folder over the fake library beside it.
int attachProbe()
{
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        TServiceConnection service({}, {FAKE_CLIENT_PATH});
        service.DataModuleCreate();
        service.FDConnection1.open();
        const std::string out = hex(fake::record().attachName) + "\n" + hex(fake::record().parameterBlock) + "\n";
        service.shutdown();
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
