#pragma once

#include <QString>

class QWidget;

namespace app {

enum class ShowState { Normal, Maximized, Minimized };

// The show state the launcher asked for. On Windows it is the process's
// startup information (SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE); elsewhere no
// launcher passes one, so it is read from QUELVO_SHOW_STATE ("maximized",
// "minimized"), which a desktop launcher or a shell alias can set.
ShowState requestedShowState();
ShowState showStateFromName(const QString& name);

void applyShowState(QWidget* mainWindow, ShowState state);

} // namespace app
