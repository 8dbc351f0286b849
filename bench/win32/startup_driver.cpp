// Start-up of window programs under the same conditions: each is launched,
// timed from its launch to its first painted window (it sets an event then),
// and closed; the programs take turns, run after run.
//
// usage: startup-driver [--runs N] [--settle MS] PROGRAM...
// Prints one line per program: name, then the median, best and worst
// milliseconds, then every run.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Pause after each run before the next launch.
int settleMs = 500;

// A named CALLBACK: a lambda converts only to the default calling convention,
// which is not EnumWindows' one in 32-bit builds.
BOOL CALLBACK closeWindowOf(HWND window, LPARAM id)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(id))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

double launchOnce(const std::wstring& program, int run)
{
    const std::wstring name = L"QuelvoPainted-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(run);
    HANDLE painted = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    SetEnvironmentVariableW(L"QUELVO_PAINTED_EVENT", name.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + program + L"\"";
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls\n", program.c_str());
        std::exit(1);
    }
    const HANDLE both[] = {painted, process.hProcess};
    const DWORD which = WaitForMultipleObjects(2, both, FALSE, 60000);
    QueryPerformanceCounter(&end);
    if (which != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%ls never painted\n", program.c_str());
        std::exit(1);
    }
    // Closed as the user would, then waited for.
    EnumWindows(closeWindowOf, static_cast<LPARAM>(process.dwProcessId));
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(painted);
    // Wine and the X server go on tidying up after a process for a while;
    // the next launch starts after that, as a user's would.
    Sleep(settleMs);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int runs = 10;
    std::vector<std::wstring> programs;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc)
            runs = std::max(1, _wtoi(argv[++i]));
        else if (std::wcscmp(argv[i], L"--settle") == 0 && i + 1 < argc)
            settleMs = std::max(0, _wtoi(argv[++i]));
        else
            programs.push_back(argv[i]);
    }
    if (programs.empty()) {
        std::fprintf(stderr, "usage: startup-driver --runs N PROGRAM...\n");
        return 2;
    }
    std::vector<std::vector<double>> times(programs.size());
    for (std::size_t p = 0; p < programs.size(); ++p)
        launchOnce(programs[p], -1 - int(p)); // a warm-up each: caches, the font, the server
    for (int run = 0; run < runs; ++run)
        for (std::size_t p = 0; p < programs.size(); ++p)
            times[p].push_back(launchOnce(programs[p], run * int(programs.size()) + int(p)));
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> sorted = times[p];
        std::sort(sorted.begin(), sorted.end());
        std::wstring name = programs[p].substr(programs[p].find_last_of(L"\\/") + 1);
        std::printf("%ls median %.1f best %.1f worst %.1f runs", name.c_str(), sorted[sorted.size() / 2], sorted.front(),
                    sorted.back());
        for (double t : times[p])
            std::printf(" %.1f", t);
        std::printf("\n");
    }
    return 0;
}
