#pragma once

#include "ui/show_state.h"

class QWidget;

namespace app {

using ShowState = ui::ShowState;

// The show state the launcher asked for. On Windows it is the process's
// startup information (SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE); elsewhere no
// launcher passes one, so it is read from QUELVO_SHOW_STATE ("maximized",
// "minimized"), which a desktop launcher or a shell alias can set.
ShowState requestedShowState();

void applyShowState(QWidget* mainWindow, ShowState state);

} // namespace app
