#include "win32_fixture.h"

#include "component_ids.h"
#include "window.h"

#include "core/executable_path.h"
#include "core/utf.h"
#include "service/service_connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace win32_test {

namespace {

struct Found {
    int id;
    HWND window;
};

BOOL CALLBACK findChild(HWND window, LPARAM data)
{
    auto* found = reinterpret_cast<Found*>(data);
    if (GetDlgCtrlID(window) == found->id) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HHOOK callHook = nullptr;
HHOOK filterHook = nullptr;
SysCommandSpy* spy = nullptr;

LRESULT CALLBACK callProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && spy) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == WM_SYSCOMMAND)
            spy->seen.push_back({message->hwnd, message->wParam});
    }
    return CallNextHookEx(callHook, code, wParam, lParam);
}

LRESULT CALLBACK filterProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && spy)
        ++spy->moveLoopMessages;
    return CallNextHookEx(filterHook, code, wParam, lParam);
}

constexpr UINT NextStep = WM_APP + 7;

} // namespace

HWND component(HWND top, int id)
{
    // EnumChildWindows walks every descendant, depth first.
    Found found{id, nullptr};
    EnumChildWindows(top, findChild, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

void pump(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        win32::dispatchWaiting();
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
    win32::dispatchWaiting();
}

POINT centreOf(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right / 2, r.bottom / 2};
}

RECT boundsIn(HWND parent, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void click(HWND window, POINT at, UINT down, UINT up)
{
    press(window, at, at, down, up);
}

void press(HWND window, POINT downAt, POINT upAt, UINT down, UINT up)
{
    const WPARAM keys = down == WM_LBUTTONDOWN ? MK_LBUTTON : down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON;
    SendMessageW(window, down, keys, MAKELPARAM(downAt.x, downAt.y));
    SendMessageW(window, up, 0, MAKELPARAM(upAt.x, upAt.y));
}

void pointAt(HWND window)
{
    POINT at = centreOf(window);
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    pump(150);
}

void pointAway()
{
    // Off every window of the program: Wine notices the pointer leaving by a
    // timer of the hover time (400 ms), not by a message.
    SetCursorPos(2, 2);
    pump(600);
}

void typeKeys(HWND window, const std::vector<WPARAM>& keys)
{
    for (WPARAM key : keys) {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    pump();
}

int Capture::count(std::uint32_t rgb) const
{
    int n = 0;
    for (std::uint32_t p : pixels)
        n += (p & 0xFFFFFF) == rgb;
    return n;
}

Capture capture(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump(100);
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Capture c;
    c.width = r.right;
    c.height = r.bottom;
    c.pixels.resize(static_cast<std::size_t>(c.width) * c.height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, c.width, c.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < c.pixels.size(); ++i)
        c.pixels[i] = words[i] & 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

std::uint32_t rgbOf(ui::Color color)
{
    return (std::uint32_t(ui::red(color)) << 16) | (std::uint32_t(ui::green(color)) << 8) | std::uint32_t(ui::blue(color));
}

SysCommandSpy::SysCommandSpy()
{
    spy = this;
    callHook = SetWindowsHookExW(WH_CALLWNDPROC, callProcedure, nullptr, GetCurrentThreadId());
    filterHook = SetWindowsHookExW(WH_MSGFILTER, filterProcedure, nullptr, GetCurrentThreadId());
}

SysCommandSpy::~SysCommandSpy()
{
    UnhookWindowsHookEx(callHook);
    UnhookWindowsHookEx(filterHook);
    spy = nullptr;
}

Script::Script(std::vector<std::function<void()>> steps) : steps_(std::move(steps))
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuelvoTestScript";
    RegisterClassW(&wc); // once; later calls fail harmlessly
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    post();
}

Script::~Script()
{
    DestroyWindow(window_);
}

void Script::post()
{
    if (!done())
        PostMessageW(window_, NextStep, 0, 0);
}

LRESULT CALLBACK Script::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == NextStep) {
        auto* self = reinterpret_cast<Script*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && !self->done()) {
            const std::size_t step = self->next_++;
            self->steps_[step]();
            self->post();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::u16string textOf(HWND window)
{
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)), u'\0');
    if (!text.empty())
        GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    return text;
}

ProgramWindows::ProgramWindows(const std::string& folder, std::vector<std::string> libraries)
{
    win32::installErrorBox(quelvo::fromUtf8(quelvo::executablePath()));
    win32::setErrorBoxSink([this](const ui::ErrorBoxContent& box) { boxes.push_back(box); });
    program_ = std::make_unique<win32::Program>(win32::Program::Options{folder, std::move(libraries)});
    pump();
}

ProgramWindows::~ProgramWindows()
{
    program_->end();
    pump();
    win32::setErrorBoxSink(nullptr);
}

void ProgramWindows::clickMagnifier()
{
    win32::PictureBox& shown = form().bk_search.isVisible() ? form().bk_search : form().search;
    click(shown.hwnd(), centreOf(shown.hwnd()));
    pump();
}

void ProgramWindows::clickCell(int row, int column)
{
    const RECT cell = form().DBGrid1.cellRect(row, column);
    const int left = std::max<int>(cell.left, 0) + 20;
    click(form().DBGrid1.hwnd(), {left, (cell.top + cell.bottom) / 2});
    pump();
}

void ProgramWindows::openSolution(int row, const std::function<void(TForm1&)>& inside)
{
    bool ran = false;
    Script script({[&] {
        ASSERT_NE(Form1, nullptr);
        ASSERT_TRUE(Form1->isModal());
        inside(*Form1);
        ran = true;
        if (Form1)
            click(Form1->pnlTopo.close.hwnd(), centreOf(Form1->pnlTopo.close.hwnd()));
    }});
    clickCell(row, 0);
    EXPECT_TRUE(ran) << "no solution window was shown";
    EXPECT_EQ(Form1, nullptr);
}

} // namespace win32_test
