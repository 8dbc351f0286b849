#pragma once

#include "label.h"
#include "panel.h"
#include "picture_box.h"

#include "ui/title_bar.h"

namespace win32 {

class BorderlessWindow;
struct Fonts;

// The title bar `pnlTopo` both windows carry across their top: logo and
// caption at the left, minimise, maximise/restore and close cells at the
// right, and the free stretch between them, which drags the window. Which
// picture raises which handler, and what each handler paints, is ui's.
class TitleBar : public Panel {
public:
    void create(BorderlessWindow& window, ui::TitleBarKind kind, const Fonts& fonts);
    void layout(int width, int dpi);
    void setFonts(const Fonts& fonts);

    Panel pnlLogo;
    Panel pnImage1;
    PictureBox Image1;
    Panel Panel1;
    Label lbVersion;
    Panel pnNV;
    Panel Panel7;
    PictureBox minimized;
    Panel Panel8;
    PictureBox bk_max;
    PictureBox maximized;
    Panel Panel6;
    PictureBox close;

    // A press on the free stretch: the left button drags the window; other
    // buttons do nothing. Presses elsewhere on the bar never reach it.
    void pnlTopoMouseDown(ui::MouseButton button, WPARAM shift, POINT at);

    void minimizedClick();
    void maximizedClick();
    void bk_maxClick();
    void closeClick();
    void minimizedMouseEnter();
    void minimizedMouseLeave();
    void maximizedMouseEnter();
    void maximizedMouseLeave();
    void bk_maxMouseEnter();
    void bk_maxMouseLeave();
    void closeMouseEnter();
    void closeMouseLeave();

private:
    void paintCell(ui::TitleBarHandler hoverHandler);
    void toggleMaximized();

    BorderlessWindow* window_ = nullptr;
};

} // namespace win32
