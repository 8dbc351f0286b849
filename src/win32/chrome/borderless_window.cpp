#include "borderless_window.h"

#include "component_ids.h"
#include "cursor_override.h"
#include "dpi.h"

#include "ui/window_layout.h"

namespace win32 {

BorderlessWindow::Styles BorderlessWindow::CreateParams(bool mainWindow)
{
    // Added after the standard ones of a borderless pop-up window, which have
    // no sizing frame.
    Styles s{WS_POPUP | WS_CLIPCHILDREN, 0};
    s.style |= WS_THICKFRAME;
    s.exStyle |= WS_EX_STATICEDGE;
    if (mainWindow)
        s.exStyle |= WS_EX_APPWINDOW;
    return s;
}

void BorderlessWindow::createFrame(const wchar_t* className, HWND owner, bool mainWindow)
{
    const Styles s = CreateParams(mainWindow);
    Window::create({className, L"", s.style, s.exStyle, owner, 0, {0, 0, design_.width, design_.height}});
    dpi_ = dpiOf(hwnd());
    fonts_ = Fonts::forDpi(dpi_);
    const RECT frame = windowRectFor({0, 0, ui::scaled(design_.width, dpi_), ui::scaled(design_.height, dpi_)},
                                     s.style, s.exStyle, dpi_);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    pnlTopo.create(*this, kind_, fonts_);
    pnlCenter.create(hwnd(), ids::pnlCenter, ui::ContentColor);
}

ui::WindowState BorderlessWindow::state() const
{
    if (IsIconic(hwnd()))
        return ui::WindowState::Minimized;
    return IsZoomed(hwnd()) ? ui::WindowState::Maximized : ui::WindowState::Normal;
}

void BorderlessWindow::setState(ui::WindowState state)
{
    switch (state) {
    case ui::WindowState::Normal: ShowWindow(hwnd(), SW_SHOWNORMAL); break;
    case ui::WindowState::Maximized: ShowWindow(hwnd(), SW_SHOWMAXIMIZED); break;
    case ui::WindowState::Minimized: minimizeApplication(); break;
    }
}

void BorderlessWindow::minimizeApplication()
{
    HWND main = hwnd();
    while (HWND owner = GetWindow(main, GW_OWNER))
        main = owner;
    if (auto* mainWindow = dynamic_cast<BorderlessWindow*>(Window::fromHandle(main)))
        mainWindow->ownedHidden_ = true;
    // Windows hides the owned windows with their owner; Wine needs telling.
    ShowOwnedPopups(main, FALSE);
    ShowWindow(main, SW_MINIMIZE);
}

void BorderlessWindow::layout()
{
    const ui::Size client = clientSize();
    pnlTopo.layout(client.width, dpi_);
    pnlCenter.setBounds(ui::contentArea(client, dpi_));
    layoutContent(client);
}

LRESULT BorderlessWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETMINMAXINFO: {
        // The minimum is the whole window's, at the design size.
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {ui::scaled(design_.width, dpi_), ui::scaled(design_.height, dpi_)};
        return 0;
    }
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            return 0;
        if (ownedHidden_) {
            ownedHidden_ = false;
            ShowOwnedPopups(hwnd(), TRUE);
        }
        if (pnlCenter) {
            layout();
            resized();
        }
        return 0;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        fonts_ = Fonts::forDpi(dpi_);
        pnlTopo.setFonts(fonts_);
        fontsChanged();
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        repaint();
        return 0;
    }
    case WM_SETCURSOR:
        // The database wait shows over every window of the program.
        if (const HCURSOR cursor = cursorOverride()) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(hwnd(), &r);
        fill(reinterpret_cast<HDC>(wParam), r, ui::TitleBarColor);
        return 1;
    }
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back to where it was.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus))
                focus_ = focus;
        } else if (!HIWORD(wParam)) {
            SetFocus(focus_ && IsWindow(focus_) && IsChild(hwnd(), focus_) ? focus_ : firstFocus());
        }
        return 0;
    case WM_CLOSE:
        closeRequested();
        return 0;
    default:
        break;
    }
    return Window::onMessage(message, wParam, lParam);
}

RECT workAreaOf(HWND window)
{
    auto info = win32::sized<MONITORINFO>();
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

} // namespace win32
