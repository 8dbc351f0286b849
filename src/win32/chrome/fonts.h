#pragma once

#include "handles.h"

namespace win32 {

// The fonts of one window at its pixel density: Tahoma at a character height
// of 11 pixels for the window and its controls, 13 regular for the title
// caption, 13 bold for the solution window's labels.
struct Fonts {
    Font window;
    Font caption;
    Font label;

    static Fonts forDpi(int dpi);
};

// Width of a text in a font, in pixels.
int textWidth(HFONT font, const wchar_t* text, int length = -1);

} // namespace win32
