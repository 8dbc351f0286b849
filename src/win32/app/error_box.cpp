#include "error_box.h"

#include "ui/error_guard.h"

#include <windows.h>

namespace win32 {

namespace {

std::function<void(const ui::ErrorBoxContent&)>& sink()
{
    static std::function<void(const ui::ErrorBoxContent&)> s = showErrorBox;
    return s;
}

// The program's window the user is looking at: the solution window while it
// is shown, else the search window.
HWND ownerWindow()
{
    const HWND active = GetActiveWindow();
    DWORD process = 0;
    if (active && GetWindowThreadProcessId(active, &process) && process == GetCurrentProcessId())
        return active;
    return nullptr;
}

} // namespace

void showErrorBox(const ui::ErrorBoxContent& content)
{
    MessageBoxW(ownerWindow(), reinterpret_cast<const wchar_t*>(content.text.c_str()),
                reinterpret_cast<const wchar_t*>(content.caption.c_str()), MB_ICONSTOP | MB_OK);
}

void installErrorBox(const std::u16string& executablePath)
{
    ui::setErrorHandler([executablePath](const std::string& message) {
        sink()(ui::errorBoxFor(executablePath, message));
    });
}

void setErrorBoxSink(std::function<void(const ui::ErrorBoxContent&)> s)
{
    sink() = s ? std::move(s) : showErrorBox;
}

} // namespace win32
