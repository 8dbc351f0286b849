#pragma once

// One C++ object per window handle. The object creates its window, and the
// window's messages reach the object's onMessage, which routes them to the
// member handlers. An error escaping a handler never crosses the system's
// code: it goes to the one error handler (the error box) and the message
// counts as handled.

#include "ui/geometry.h"

#include <windows.h>

#include <string>

namespace win32 {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    // The object behind a handle, when the handle is one of ours.
    static Window* fromHandle(HWND window);

    // Bounds in the parent's client area (the screen for a top-level window).
    void setBounds(const ui::Rect& bounds);
    ui::Size clientSize() const;
    void setVisible(bool visible);
    bool isVisible() const;
    // Repaints the window and its children.
    void repaint();

protected:
    struct Params {
        const wchar_t* className = nullptr;
        const wchar_t* text = L"";
        DWORD style = 0;
        DWORD exStyle = 0;
        HWND parent = nullptr; // or the owner of a top-level window
        int id = 0;            // a child's control id
        ui::Rect bounds{};
    };

    // Registers a window class of ours once per process.
    static void registerClass(const wchar_t* name, const wchar_t* cursor = IDC_ARROW, HICON icon = nullptr);
    void create(const Params& params);
    // Destroys the window now, while the whole object still stands; the
    // windows of derived classes call it in their destructors.
    void destroy();

    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// A window that paints its whole client area itself: no background erase,
// the same painting for the screen and for WM_PRINTCLIENT.
class PaintedWindow : public Window {
protected:
    // `dirty` is the part to paint, in client coordinates.
    virtual void paint(HDC dc, const RECT& dirty) = 0;
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A control of the system's (EDIT, the header), owned the same way: its
// window goes with the object.
class Control {
public:
    Control() = default;
    ~Control() { destroy(); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void create(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id, const ui::Rect& bounds);
    void destroy();
    HWND hwnd() const { return hwnd_; }
    void setBounds(const ui::Rect& bounds);

private:
    HWND hwnd_ = nullptr;
};

// Bounds in the parent's client area, for our windows and the system's alike.
void setBounds(HWND window, const ui::Rect& bounds);
// A window's text, as the system keeps it.
std::u16string windowText(HWND window);

// One message of the thread's loop, as every loop of the program handles it:
// translated (keys to characters) and dispatched. No dialog manager sees it,
// so Tab and Enter reach the text boxes.
void dispatch(const MSG& message);
// Dispatches the messages already waiting, without waiting for more; false
// when the quit message came.
bool dispatchWaiting();

// A system structure that starts with its own size, the rest zero.
template <typename T>
T sized()
{
    T value{};
    static_assert(sizeof(value.cbSize) == sizeof(UINT));
    value.cbSize = sizeof(T);
    return value;
}

// UTF-16 text of the windows as the system takes it.
inline const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

} // namespace win32
