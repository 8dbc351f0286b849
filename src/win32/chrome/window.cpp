#include "window.h"

#include "ui/error_guard.h"

#include <stdexcept>
#include <string>

namespace win32 {

namespace {

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

} // namespace

Window::~Window()
{
    destroy();
}

Window* Window::fromHandle(HWND window)
{
    return window ? reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

void Window::registerClass(const wchar_t* name, const wchar_t* cursor, HICON icon)
{
    auto existing = win32::sized<WNDCLASSEXW>();
    if (GetClassInfoExW(instance(), name, &existing))
        return;
    auto wc = win32::sized<WNDCLASSEXW>();
    wc.lpfnWndProc = &Window::procedure;
    wc.hInstance = instance();
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.hIcon = icon;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

void Window::create(const Params& p)
{
    const HWND created = CreateWindowExW(p.exStyle, p.className, p.text, p.style, p.bounds.left, p.bounds.top,
                                         p.bounds.width, p.bounds.height, p.parent,
                                         (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id))
                                                              : nullptr,
                                         instance(), this);
    if (!created)
        throw std::runtime_error("Cannot create window " + std::to_string(GetLastError()));
}

void Window::destroy()
{
    if (hwnd_)
        DestroyWindow(hwnd_); // WM_NCDESTROY clears hwnd_
}

void Window::setBounds(const ui::Rect& b)
{
    win32::setBounds(hwnd_, b);
}

ui::Size Window::clientSize() const
{
    RECT r{};
    GetClientRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Window::setVisible(bool visible)
{
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::isVisible() const
{
    return IsWindowVisible(hwnd_) != FALSE;
}

void Window::repaint()
{
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProc(message, wParam, lParam);
}

LRESULT Window::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* self = fromHandle(window);
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);

    // One reference captured: std::function keeps it without allocating.
    struct Call {
        Window* self;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result = 0;
    } call{self, message, wParam, lParam};
    ui::guarded([&call] { call.result = call.self->onMessage(call.message, call.wParam, call.lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return call.result;
}

LRESULT PaintedWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd(), &ps);
        paint(dc, ps.rcPaint);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT all{};
        GetClientRect(hwnd(), &all);
        paint(reinterpret_cast<HDC>(wParam), all);
        return 0;
    }
    default:
        return Window::onMessage(message, wParam, lParam);
    }
}

void dispatch(const MSG& message)
{
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool dispatchWaiting()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        dispatch(message);
    }
    return true;
}

void Control::create(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id,
                     const ui::Rect& b)
{
    hwnd_ = CreateWindowExW(exStyle, className, L"", style | WS_CHILD, b.left, b.top, b.width, b.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    if (!hwnd_)
        throw std::runtime_error("Cannot create control " + std::to_string(GetLastError()));
}

void Control::destroy()
{
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void Control::setBounds(const ui::Rect& b)
{
    win32::setBounds(hwnd_, b);
}

void setBounds(HWND window, const ui::Rect& b)
{
    SetWindowPos(window, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::u16string windowText(HWND window)
{
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)), u'\0');
    if (!text.empty())
        GetWindowTextW(window, const_cast<wchar_t*>(wide(text.data())), static_cast<int>(text.size() + 1));
    return text;
}

} // namespace win32
