#include "fonts.h"

#include "ui/geometry.h"
#include "ui/title_bar.h"
#include "ui/window_layout.h"

#include <cwchar>

namespace win32 {

namespace {

Font tahoma(int pixelHeight, int weight, int dpi)
{
    // A negative height is the character height, without the internal leading.
    return Font(CreateFontW(-ui::scaled(pixelHeight, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            L"Tahoma"));
}

} // namespace

Fonts Fonts::forDpi(int dpi)
{
    return {tahoma(ui::WindowFontPixelHeight, FW_NORMAL, dpi), tahoma(ui::CaptionPixelHeight, FW_NORMAL, dpi),
            tahoma(ui::LabelFontPixelHeight, FW_BOLD, dpi)};
}

int textWidth(HFONT font, const wchar_t* text, int length)
{
    WindowDC screen(nullptr);
    Selection selected(screen.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), text, length < 0 ? static_cast<int>(std::wcslen(text)) : length, &size);
    return size.cx;
}

} // namespace win32
