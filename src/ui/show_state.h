#pragma once

#include <string_view>

namespace ui {

// The state the launcher asks the main window to start in.
enum class ShowState { Normal, Maximized, Minimized };

// From the launcher's show command (STARTUPINFO's wShowWindow on Windows):
// SW_SHOWMAXIMIZED (3) maximises, SW_SHOWMINNOACTIVE (7) starts minimised,
// anything else is normal.
ShowState showStateFromCommand(int showCommand);

// From a name, for launchers that pass none of their own (Linux reads
// QUELVO_SHOW_STATE): "maximized" or "3", "minimized" or "7", without regard
// to case or surrounding blanks; anything else is normal.
ShowState showStateFromName(std::string_view name);

} // namespace ui
