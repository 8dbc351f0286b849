// The smallest window program of the same size, for comparison: a window
// class, one window of the search window's size, shown, painted, and the
// event named in QUELVO_PAINTED_EVENT set.

#include "program.h"

#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"EmptyWindow";
    RegisterClassW(&wc);
    RECT frame{0, 0, 751, 481};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    win32::untilPainted();
    wchar_t name[128] = {};
    if (GetEnvironmentVariableW(L"QUELVO_PAINTED_EVENT", name, 128)) {
        if (HANDLE painted = OpenEventW(EVENT_MODIFY_STATE, FALSE, name)) {
            SetEvent(painted);
            CloseHandle(painted);
        }
    }
    return win32::runMessageLoop();
}
