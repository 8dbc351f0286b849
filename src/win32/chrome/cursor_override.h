#pragma once

#include <windows.h>

namespace win32 {

// A cursor that every window of the program shows while it is set, whatever
// lies under the pointer: the database wait. Null for none.
void setCursorOverride(HCURSOR cursor);
HCURSOR cursorOverride();

} // namespace win32
