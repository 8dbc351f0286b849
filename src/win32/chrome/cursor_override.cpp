#include "cursor_override.h"

namespace win32 {

namespace {

HCURSOR overrideCursor = nullptr;

} // namespace

void setCursorOverride(HCURSOR cursor)
{
    overrideCursor = cursor;
}

HCURSOR cursorOverride()
{
    return overrideCursor;
}

} // namespace win32
