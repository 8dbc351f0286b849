#include "fake_windows.h"

namespace win32_test {

FakeFolder::FakeFolder() : folder_("quelvo-win32")
{
    fake::reset();
}

Windows::Windows() : ProgramWindows(folder_.path(), {FAKE_CLIENT_PATH}) {}

void Windows::type(const std::u16string& text)
{
    for (char16_t c : text)
        SendMessageW(form().Memo1.hwnd(), WM_CHAR, c, 1);
}

} // namespace win32_test
