#include "app/show_state.h"

#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#endif

namespace app {

ShowState requestedShowState()
{
#ifdef _WIN32
    STARTUPINFOW info = {};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) ? ui::showStateFromCommand(info.wShowWindow) : ShowState::Normal;
#else
    return ui::showStateFromName(qEnvironmentVariable("QUELVO_SHOW_STATE").toStdString());
#endif
}

void applyShowState(QWidget* mainWindow, ShowState state)
{
    switch (state) {
    case ShowState::Maximized: mainWindow->showMaximized(); break;
    case ShowState::Minimized: mainWindow->showMinimized(); break;
    case ShowState::Normal: break;
    }
}

} // namespace app
