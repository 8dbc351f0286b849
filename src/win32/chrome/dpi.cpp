#include "dpi.h"

#include "handles.h"

namespace win32 {

namespace {

template <typename Function>
Function user32Function(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int systemDpi()
{
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

} // namespace

int dpiOf(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

RECT windowRectFor(const RECT& client, DWORD style, DWORD exStyle, int dpi)
{
    using AdjustFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT r = client;
    if (adjustForDpi)
        adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
}

} // namespace win32
