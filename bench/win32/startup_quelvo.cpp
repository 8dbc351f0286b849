// Quelvo.exe as it starts, telling the measuring program when its windows
// are first painted: it sets the event named in QUELVO_PAINTED_EVENT.

#include "program.h"

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return win32::run([] {
        wchar_t name[128] = {};
        if (GetEnvironmentVariableW(L"QUELVO_PAINTED_EVENT", name, 128)) {
            if (HANDLE painted = OpenEventW(EVENT_MODIFY_STATE, FALSE, name)) {
                SetEvent(painted);
                CloseHandle(painted);
            }
        }
    });
}
