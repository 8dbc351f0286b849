#pragma once

#include "panel.h"

#include <string>

namespace win32 {

// One line of text over its panel's colour. The caption is the window text,
// so it reads back as any window's does.
class Label : public PaintedWindow {
public:
    // `format`: DT_LEFT or DT_CENTER; the line is always centred vertically.
    void create(HWND parent, int id, const std::u16string& text, HFONT font, ui::Color textColor,
                const Panel& background, const ui::Rect& bounds, UINT format);

    void setText(const std::u16string& text);
    std::u16string text() const;
    void setFont(HFONT font);
    int textWidth() const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint(HDC dc, const RECT& dirty) override;

    HFONT font_ = nullptr;
    ui::Color textColor_ = 0;
    const Panel* background_ = nullptr;
    UINT format_ = DT_LEFT;
};

} // namespace win32
