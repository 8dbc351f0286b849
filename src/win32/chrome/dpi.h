#pragma once

// Per-monitor pixel density. The functions that know it per window came with
// Windows 10; on older systems every window has the system's density.

#include <windows.h>

namespace win32 {

int dpiOf(HWND window);
// The window rectangle for a client rectangle, for a window of that density.
RECT windowRectFor(const RECT& client, DWORD style, DWORD exStyle, int dpi);

} // namespace win32
