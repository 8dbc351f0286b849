#include "program.h"

#include "error_box.h"
#include "search_window.h"
#include "wait_cursor.h"

#include "core/executable_path.h"
#include "core/utf.h"
#include "service/service_connection.h"
#include "ui/error_guard.h"
#include "ui/show_state.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace win32 {

Program::Program(const Options& options)
{
    waitCursor_ = std::make_unique<WaitCursor>();
    service_ = std::make_unique<ui::ServiceLifetime>(options, waitCursor_.get());
    window_ = std::make_unique<TForm2>(service_->service());
}

Program::~Program()
{
    end();
}

void Program::applyShowState(int showCommand)
{
    switch (ui::showStateFromCommand(showCommand)) {
    case ui::ShowState::Maximized: window_->setState(ui::WindowState::Maximized); break;
    case ui::ShowState::Minimized: ShowWindow(window_->hwnd(), SW_SHOWMINNOACTIVE); break;
    case ui::ShowState::Normal: break;
    }
}

void Program::end()
{
    window_.reset();
    if (service_)
        service_->end();
    waitCursor_.reset();
}

int launcherShowCommand()
{
    STARTUPINFOW info{};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : -1;
}

int runMessageLoop()
{
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0)
        dispatch(message);
    return got < 0 ? 1 : static_cast<int>(message.wParam);
}

void untilPainted()
{
    MSG message{};
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
            PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
            dispatch(message);
        }
        if (!(HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT))
            break;
        // Paint messages come only when nothing else waits; take them.
        if (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            dispatch(message);
    }
    GdiFlush();
}

int run(const std::function<void()>& onShown)
{
    // The common controls of version 6, as the manifest asks: the title row
    // of the grid is one of them.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    installErrorBox(quelvo::fromUtf8(quelvo::executablePath()));

    Program program({});
    program.applyShowState(launcherShowCommand());
    if (onShown) {
        untilPainted();
        onShown();
    }
    runMessageLoop();
    program.end();
    return 0;
}

} // namespace win32
