#pragma once

#include "window.h"

#include "ui/cell_click.h"
#include "ui/colors.h"

#include <functional>

namespace win32 {

// A plain area in a colour of its own. Text boxes on it are drawn white.
class Panel : public Window {
public:
    enum class Pointer { Arrow, Hand };

    void create(HWND parent, int id, ui::Color color, const ui::Rect& bounds = {}, Pointer pointer = Pointer::Arrow);

    ui::Color color() const { return color_; }
    // Repaints the panel and the pictures on it, which show its colour.
    void setColor(ui::Color color);

    // A press of a button on the panel itself (not on a child), in client
    // coordinates; the key state as the message gave it.
    std::function<void(ui::MouseButton button, WPARAM keys, POINT at)> onMouseDown;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ui::Color color_ = 0;
};

// A colour value as the system takes it.
inline COLORREF colorRef(ui::Color color) { return static_cast<COLORREF>(color & 0x00FFFFFF); }

// Fills a rectangle with a colour, with a brush made for the occasion.
void fill(HDC dc, const RECT& rect, ui::Color color);

} // namespace win32
