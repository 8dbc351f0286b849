#pragma once

// Owners for the system's handles: each GDI object, icon, cursor and device
// context the windows make is released by exactly one of these.

#include <windows.h>

#include <utility>

namespace win32 {

// One owned handle, released by Traits::close; movable, not copyable.
template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }

    void reset(Handle handle = Handle{})
    {
        if (handle_)
            Traits::close(handle_);
        handle_ = handle;
    }
    // For calls that take the handle over (SetWindowRgn).
    [[nodiscard]] Handle release() { return std::exchange(handle_, Handle{}); }

private:
    Handle handle_{};
};

template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static void close(H handle) { DeleteObject(handle); }
};
using Pen = Owned<GdiObjectTraits<HPEN>>;
using Font = Owned<GdiObjectTraits<HFONT>>;
using Bitmap = Owned<GdiObjectTraits<HBITMAP>>;
using Region = Owned<GdiObjectTraits<HRGN>>;

struct IconTraits {
    using Handle = HICON;
    static void close(HICON handle) { DestroyIcon(handle); }
};
using Icon = Owned<IconTraits>;

struct CursorTraits {
    using Handle = HCURSOR;
    static void close(HCURSOR handle) { DestroyCursor(handle); }
};
using Cursor = Owned<CursorTraits>;

struct MemoryDcTraits {
    using Handle = HDC;
    static void close(HDC handle) { DeleteDC(handle); }
};
using MemoryDC = Owned<MemoryDcTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// An object selected into a device context for a scope, the previous one
// put back at its end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The clip region of a device context for a scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, saved_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace win32
