// The program as a whole: the error box, the wait cursor, the launcher's
// show state, and Quelvo.exe itself ending with exit code 0.

#include "fake_windows.h"

#include "component_ids.h"
#include "cursor_override.h"
#include "wait_cursor.h"

#include "core/executable_path.h"
#include "service/service_connection.h"
#include "ui/error_guard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace win32_test;
using testing_support::scriptRows;

namespace {

TEST(ErrorBox, AFailedSearchShowsTheErrorAndTheNextSearchWorks)
{
    Windows w;
    fake::script().failures["isc_attach_database"] = {fake::status({335544721, 335544722}, "db01")};
    scriptRows(2);
    w.clickMagnifier();
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].caption, u"win32_tests"); // the title of the running program's file
    EXPECT_EQ(w.boxes[0].text, u"[FireDAC][Phys][FB]Unable to complete network request to host \"db01\".\r\n"
                               u"Failed to establish a connection.");
    EXPECT_EQ(w.form().DataSource1.rowCount(), 1);

    fake::script().failures["isc_dsql_prepare"] = {fake::status({335544580})};
    w.clickMagnifier();
    ASSERT_EQ(w.boxes.size(), 2u);
    EXPECT_EQ(w.boxes[1].text, u"[FireDAC][Phys][FB]Table unknown."); // the "." rule

    w.clickMagnifier();
    EXPECT_EQ(w.boxes.size(), 2u);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 2);
}

TEST(ErrorBox, TheRealBoxHasAStopIconOneOkAndTheTitle)
{
    // The box itself, closed by Return from inside its own loop.
    Windows w;
    win32::setErrorBoxSink(nullptr);
    HWND seen = nullptr;
    std::u16string caption;
    std::u16string text;
    Script script({[&] {
        for (int i = 0; i < 100 && !seen; ++i) {
            seen = FindWindowW(L"#32770", nullptr);
            if (!seen)
                Sleep(20);
        }
        ASSERT_NE(seen, nullptr);
        caption = textOf(seen);
        text = textOf(GetDlgItem(seen, 0xFFFF));
        EXPECT_NE(GetDlgItem(seen, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(seen, IDCANCEL), nullptr);
        constexpr int IconControl = 0x440; // the message box's picture
        EXPECT_EQ(SendMessageW(GetDlgItem(seen, IconControl), STM_GETICON, 0, 0),
                  reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_HAND)));
        PostMessageW(GetDlgItem(seen, IDOK), BM_CLICK, 0, 0);
    }});
    ui::reportError("Data too large]");
    EXPECT_EQ(caption, u"win32_tests");
    EXPECT_EQ(text, u"Data too large].");
}

TEST(WaitCursor, TheHourglassShowsDuringTheSearchAndLeavesAfterwards)
{
    Windows w;
    scriptRows(3);
    struct Spy : quelvo::BusyIndicator {
        quelvo::BusyIndicator* inner = nullptr;
        bool seen = false;
        void databaseWorkStarted() override
        {
            inner->databaseWorkStarted();
            seen = seen || (win32::cursorOverride() != nullptr && GetCursor() == win32::cursorOverride());
        }
        void databaseWorkEnded() override { inner->databaseWorkEnded(); }
    } spy;
    spy.inner = &w.program().waitCursor();
    ServiceConnection->FDConnection1.setBusyIndicator(&spy);
    w.clickMagnifier();
    EXPECT_TRUE(spy.seen);
    EXPECT_TRUE(w.program().waitCursor().isShown()); // not before the first tick
    pump(200);
    EXPECT_FALSE(w.program().waitCursor().isShown());
    EXPECT_EQ(win32::cursorOverride(), nullptr);
    ServiceConnection->FDConnection1.setBusyIndicator(spy.inner);
}

TEST(WaitCursor, TheCursorIsTheSqlHourglassWithItsHotSpotAtTheTopLeft)
{
    win32::WaitCursor wait;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(wait.cursor(), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(ShowState, TheLaunchersStateIsApplied)
{
    const struct {
        int command;
        bool zoomed;
        bool iconic;
    } cases[] = {
        {SW_SHOWMAXIMIZED, true, false},
        {SW_SHOWMINNOACTIVE, false, true},
        {SW_SHOWNORMAL, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Windows w;
        w.program().applyShowState(c.command);
        pump();
        EXPECT_EQ(IsZoomed(w.form().hwnd()) != FALSE, c.zoomed);
        EXPECT_EQ(IsIconic(w.form().hwnd()) != FALSE, c.iconic);
    }
}

// Quelvo.exe as users start it.
class Process {
public:
    Process(const std::wstring& program, int showCommand = -1)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (showCommand >= 0) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = static_cast<WORD>(showCommand);
        }
        std::wstring line = L"\"" + program + L"\"";
        started_ = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &info_);
    }
    ~Process()
    {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info_.hProcess, 99);
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    bool started() const { return started_; }

    HWND mainWindow() const
    {
        Search search{info_.dwProcessId, nullptr};
        for (int i = 0; i < 300 && !search.found; ++i) {
            EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
            if (!search.found)
                Sleep(50);
        }
        return search.found;
    }

    DWORD exitCode(DWORD waitMs = 20000) const
    {
        if (WaitForSingleObject(info_.hProcess, waitMs) != WAIT_OBJECT_0)
            return 0xFFFFFFFF;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    struct Search {
        DWORD process;
        HWND found;
    };
    // A named CALLBACK: a lambda converts only to the default calling
    // convention, which is not EnumWindows' one in 32-bit builds.
    static BOOL CALLBACK findMainWindow(HWND window, LPARAM data)
    {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (process == s->process && std::wstring(name) == L"QuelvoSearchWindow" && IsWindowVisible(window)) {
            s->found = window;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

std::wstring quelvoExe()
{
    return (std::filesystem::path(quelvo::executableFolder()) / "Quelvo.exe").wstring();
}

TEST(Program, ItsCloseButtonEndsItWithExitCode0)
{
    Process quelvo(quelvoExe());
    ASSERT_TRUE(quelvo.started());
    const HWND window = quelvo.mainWindow();
    ASSERT_NE(window, nullptr);
    const HWND close = component(window, win32::ids::close);
    ASSERT_NE(close, nullptr);
    PostMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(28, 12));
    PostMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(28, 12));
    EXPECT_EQ(quelvo.exitCode(), 0u);
}

TEST(Program, ACloseFromOutsideEndsItWithExitCode0)
{
    Process quelvo(quelvoExe());
    const HWND window = quelvo.mainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(quelvo.exitCode(), 0u);
}

TEST(Program, StartedMaximisedByItsLauncher)
{
    Process quelvo(quelvoExe(), SW_SHOWMAXIMIZED);
    const HWND window = quelvo.mainWindow();
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 100 && !IsZoomed(window); ++i)
        Sleep(20);
    EXPECT_TRUE(IsZoomed(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(quelvo.exitCode(), 0u);
}

} // namespace
