#include "app/show_state.h"

#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#endif

namespace app {

ShowState showStateFromName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("maximized") || n == QLatin1String("3"))
        return ShowState::Maximized;
    if (n == QLatin1String("minimized") || n == QLatin1String("7"))
        return ShowState::Minimized;
    return ShowState::Normal;
}

ShowState requestedShowState()
{
#ifdef _WIN32
    STARTUPINFOW info = {};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    if (info.dwFlags & STARTF_USESHOWWINDOW) {
        if (info.wShowWindow == SW_SHOWMAXIMIZED)
            return ShowState::Maximized;
        if (info.wShowWindow == SW_SHOWMINNOACTIVE)
            return ShowState::Minimized;
    }
    return ShowState::Normal;
#else
    return showStateFromName(qEnvironmentVariable("QUELVO_SHOW_STATE"));
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
