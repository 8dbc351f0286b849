#include "panel.h"

#include "handles.h"

namespace win32 {

namespace {

constexpr const wchar_t* ArrowPanelClass = L"QuelvoPanel";
constexpr const wchar_t* HandPanelClass = L"QuelvoHandPanel";

} // namespace

void fill(HDC dc, const RECT& rect, ui::Color color)
{
    // The DC brush needs no object of its own.
    const COLORREF previous = SetDCBrushColor(dc, colorRef(color));
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, previous);
}

void Panel::create(HWND parent, int id, ui::Color color, const ui::Rect& bounds, Pointer pointer)
{
    color_ = color;
    const wchar_t* className = pointer == Pointer::Hand ? HandPanelClass : ArrowPanelClass;
    registerClass(className, pointer == Pointer::Hand ? IDC_HAND : IDC_ARROW);
    Window::create({className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, parent, id, bounds});
}

void Panel::setColor(ui::Color color)
{
    if (color == color_)
        return;
    color_ = color;
    repaint();
}

LRESULT Panel::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(hwnd(), &r);
        fill(reinterpret_cast<HDC>(wParam), r, color_);
        return 1;
    }
    case WM_PAINT: {
        PaintDC paint(hwnd()); // the background did it all
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // Text boxes, read-only ones too, in the window colour.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (onMouseDown) {
            const ui::MouseButton button = message == WM_LBUTTONDOWN   ? ui::MouseButton::Left
                                           : message == WM_RBUTTONDOWN ? ui::MouseButton::Right
                                                                       : ui::MouseButton::Middle;
            onMouseDown(button, wParam, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
        // Controls tell their parent; the window that laid them out listens.
        return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
    default:
        break;
    }
    return Window::onMessage(message, wParam, lParam);
}

} // namespace win32
