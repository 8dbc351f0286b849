// Quelvo: finds earlier help-desk attendances by the words of a problem.

#include "program.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return win32::run();
}
