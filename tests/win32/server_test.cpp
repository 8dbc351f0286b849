// The Windows program against the real Firebird server, under Wine: the
// client library is the test bridge fbclient.dll beside this program, which
// hands the calls to the Linux client (tests/wine/fbclient-bridge). The demo
// database and the server are driven through the Linux side's own scripts.

#include "win32_fixture.h"

#include "core/executable_path.h"
#include "core/utf.h"
#include "service/service_connection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace win32_test;

namespace {

// The Unix path of a path on drive Z:, which Wine maps to the root.
std::string unixPath(const std::string& windowsPath)
{
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':')
        path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// Runs a shell command on the Linux side and waits for it. Wine starts Unix
// programs too, but cannot wait for them: the command leaves its exit code
// in a file, which is waited for instead.
int shell(const std::string& command)
{
    static int count = 0;
    const std::string done = "/tmp/quelvo-win32-server-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++count) + ".done";
    const std::string script = "(" + command + "); echo $? > " + done + ".part && mv " + done + ".part " + done;
    std::wstring line = L"Z:\\bin\\sh -c \"" + std::filesystem::path(script).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::wstring marker = L"Z:" + std::filesystem::path(done).wstring();
    for (int i = 0; i < 6000; ++i) { // ten minutes at most; the demo data takes seconds
        FILE* file = _wfopen(marker.c_str(), L"r");
        if (file) {
            int code = -1;
            if (std::fscanf(file, "%d", &code) != 1)
                code = -1;
            std::fclose(file);
            _wremove(marker.c_str());
            return code;
        }
        Sleep(100);
    }
    return -1;
}

const std::string sourceDir = QUELVO_SOURCE_DIR;

// A program folder beside the build's programs, with the demo database.
std::string demoFolder()
{
    const std::string folder = quelvo::executableFolder() + "\\..\\e2e-demo";
    static const bool made = shell(sourceDir + "/scripts/make-demo-db " + unixPath(folder) + " >/dev/null") == 0;
    EXPECT_TRUE(made) << "make-demo-db failed";
    return folder;
}

// The program over the real client (the bridge beside it), as start-up makes it.
class RealWindows : public ProgramWindows {
public:
    explicit RealWindows(const std::string& folder) : ProgramWindows(folder, {}) {}

    void search(const std::u16string& text)
    {
        SetWindowTextW(form().Memo1.hwnd(), reinterpret_cast<const wchar_t*>(text.c_str()));
        clickMagnifier();
    }
};

TEST(RealServer, SearchesScrollsAndShowsASolution)
{
    RealWindows w(demoFolder());
    w.search(u"erro ao salvar");
    ASSERT_TRUE(w.boxes.empty()) << quelvo::toUtf8(w.boxes[0].text);
    ASSERT_EQ(w.form().DataSource1.rowCount(), 50);
    ASSERT_TRUE(w.form().DataSource1.canFetchMore());
    SendMessageW(w.form().DBGrid1.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 100);

    // Every row holds the words in their order, whatever their case.
    for (int row : {0, 49, 99}) {
        std::u16string problem(w.form().DataSource1.field(row, 0).text());
        for (char16_t& c : problem)
            c = (c >= u'A' && c <= u'Z') ? c + 32 : c;
        const auto erro = problem.find(u"erro");
        ASSERT_NE(erro, std::u16string::npos) << row;
        EXPECT_NE(problem.find(u"salvar", erro), std::u16string::npos) << row;
    }

    w.form().DBGrid1.scrollToRow(0);
    w.openSolution(2, [&](TForm1& form) {
        const std::u16string date = textOf(form.Label3.hwnd());
        const std::u16string analyst = textOf(form.Label4.hwnd());
        EXPECT_EQ(date.substr(0, 5), u"Data:");
        EXPECT_EQ(date.size(), 5u + 14u);
        EXPECT_EQ(analyst.substr(0, 8), u"Suporte:");
        EXPECT_GT(analyst.size(), 8u);
        EXPECT_FALSE(textOf(form.Memo1.hwnd()).empty());
        EXPECT_EQ(textOf(form.Memo2.hwnd()), std::u16string(w.form().DataSource1.field(2, 0).text()));
    });
    EXPECT_TRUE(w.boxes.empty());
}

TEST(RealServer, TheServersErrorsShowAndTheProgramGoesOn)
{
    // A program folder with a Login.ini but no database.
    const std::string folder = quelvo::executableFolder() + "\\..\\e2e-empty";
    std::filesystem::create_directories(std::filesystem::path(folder));
    shell("printf '[Connection]\\r\\nServidor=127.0.0.1\\r\\n' > " + unixPath(folder) + "/Login.ini");
    RealWindows w(folder);
    w.search(u"erro");
    ASSERT_EQ(w.boxes.size(), 1u);
    const std::string text = quelvo::toUtf8(w.boxes[0].text);
    EXPECT_EQ(text.rfind("[FireDAC][Phys][FB]", 0), 0u) << text;
    EXPECT_NE(text.find("BRIVANAATENDIMENTOS.FDB"), std::string::npos) << text;
    EXPECT_EQ(w.form().DataSource1.rowCount(), 1);
    EXPECT_FALSE(w.form().DataSource1.hasRows());
}

TEST(RealServer, AfterTheServerIsGoneTheNextSearchAttachesAnew)
{
    RealWindows w(demoFolder());
    w.search(u"erro");
    ASSERT_TRUE(w.boxes.empty());
    ASSERT_TRUE(w.form().DataSource1.hasRows());

    ASSERT_EQ(shell(sourceDir + "/scripts/firebird-server stop >/dev/null 2>&1"), 0);
    w.search(u"erro");
    const int started = shell(sourceDir + "/scripts/firebird-server start >/dev/null 2>&1");
    ASSERT_EQ(started, 0) << "the server did not start again";
    ASSERT_EQ(w.boxes.size(), 1u);
    const std::string text = quelvo::toUtf8(w.boxes[0].text);
    EXPECT_EQ(text.rfind("[FireDAC][Phys][FB]", 0), 0u) << text;
    EXPECT_FALSE(w.form().DataSource1.hasRows());
    std::printf("with the server gone, the error box said: %s\n", text.c_str());

    // No reconnection in between: the next search attaches anew and works.
    w.search(u"erro");
    EXPECT_EQ(w.boxes.size(), 1u) << (w.boxes.size() > 1 ? quelvo::toUtf8(w.boxes[1].text) : "");
    EXPECT_TRUE(w.form().DataSource1.hasRows());
}

} // namespace
