#pragma once

// The home-made title bar both windows carry: its geometry, which picture
// raises which handler in which window, what the hover handlers paint, and
// the maximise/restore decision. The front-ends build their components from
// this and call it; nothing here knows a toolkit.

#include "ui/colors.h"
#include "ui/geometry.h"

#include <optional>

namespace ui {

inline constexpr int TitleBarHeight = 24;
inline constexpr int LogoBlockWidth = 161; // pnlLogo
inline constexpr int LogoPanelWidth = 41;  // pnImage1, left in pnlLogo
inline constexpr Rect LogoRect{15, 1, 20, 18}; // Image1 in pnImage1
inline constexpr int ButtonCellWidth = 56;
inline constexpr int CaptionPixelHeight = 13;                 // lbVersion, Tahoma regular
inline constexpr const char16_t* CaptionText = u"Quelvo 1.0";

enum class TitleBarKind {
    SearchWindow,   // the main window: close ends the program, the logo minimises
    SolutionWindow, // the modal window: close closes it, the logo is inert
};

// Bounds of the title bar's components at a bar width (in pixels of a
// monitor of `dpi`), each relative to its parent as the layout nests them.
struct TitleBarLayout {
    Rect pnlTopo;     // in the window's client area
    Rect pnlLogo;     // in pnlTopo
    Rect pnImage1;    // in pnlLogo
    Rect Image1;      // in pnImage1
    Rect Panel1;      // in pnlLogo; lbVersion fills it
    Rect pnNV;        // in pnlTopo
    Rect Panel7;      // in pnNV; each cell's pictures fill it
    Rect Panel8;
    Rect Panel6;
    Rect freeStretch; // in pnlTopo: the only part that drags the window
};
TitleBarLayout titleBarLayout(int width, int dpi = BaseDpi);

enum class TitlePicture { Image1, minimized, maximized, bk_max, close };
enum class PictureEvent { Click, Enter, Leave };

enum class TitleBarHandler {
    minimizedClick,
    maximizedClick,
    bk_maxClick,
    closeClick,
    minimizedMouseEnter,
    minimizedMouseLeave,
    maximizedMouseEnter,
    maximizedMouseLeave,
    bk_maxMouseEnter,
    bk_maxMouseLeave,
    closeMouseEnter,
    closeMouseLeave,
};

// The handler a picture's event is wired to in a window of that kind, or
// none. The two bars differ here: the search window's logo minimises and
// colours the minimise cell, and its restore picture shares the maximise
// picture's hover handlers.
std::optional<TitleBarHandler> titleBarHandler(TitleBarKind kind, TitlePicture picture, PictureEvent event);

// Runs the handler of that name on a title bar of either front-end; both
// name their handlers as the enum does.
template <typename Bar>
void runTitleBarHandler(Bar& bar, TitleBarHandler handler)
{
    using H = TitleBarHandler;
    switch (handler) {
    case H::minimizedClick: bar.minimizedClick(); break;
    case H::maximizedClick: bar.maximizedClick(); break;
    case H::bk_maxClick: bar.bk_maxClick(); break;
    case H::closeClick: bar.closeClick(); break;
    case H::minimizedMouseEnter: bar.minimizedMouseEnter(); break;
    case H::minimizedMouseLeave: bar.minimizedMouseLeave(); break;
    case H::maximizedMouseEnter: bar.maximizedMouseEnter(); break;
    case H::maximizedMouseLeave: bar.maximizedMouseLeave(); break;
    case H::bk_maxMouseEnter: bar.bk_maxMouseEnter(); break;
    case H::bk_maxMouseLeave: bar.bk_maxMouseLeave(); break;
    case H::closeMouseEnter: bar.closeMouseEnter(); break;
    case H::closeMouseLeave: bar.closeMouseLeave(); break;
    }
}

// The picture member of either front-end's title bar that `picture` names.
template <typename Bar>
auto& titleBarPicture(Bar& bar, TitlePicture picture)
{
    switch (picture) {
    case TitlePicture::Image1: return bar.Image1;
    case TitlePicture::minimized: return bar.minimized;
    case TitlePicture::maximized: return bar.maximized;
    case TitlePicture::bk_max: return bar.bk_max;
    case TitlePicture::close: break;
    }
    return bar.close;
}

enum class TitleCell { Panel7, Panel8, Panel6 };

// The cell member of either front-end's title bar that `cell` names.
template <typename Bar>
auto& titleBarCell(Bar& bar, TitleCell cell)
{
    return cell == TitleCell::Panel7 ? bar.Panel7 : cell == TitleCell::Panel8 ? bar.Panel8 : bar.Panel6;
}
struct CellColor {
    TitleCell cell;
    Color color;
    friend bool operator==(const CellColor&, const CellColor&) = default;
};
// What a hover handler paints: a cell turns navy or red on enter, back to
// the bar's colour on leave. None for the click handlers.
std::optional<CellColor> cellColorFor(TitleBarHandler handler);

enum class CloseAction { EndProgram, CloseWindow };
CloseAction closeActionFor(TitleBarKind kind);

enum class WindowState { Normal, Minimized, Maximized };

// maximizedClick and bk_maxClick: the window's state decides, not the
// picture clicked. The picture to show is shown before the other is hidden.
struct MaximizeStep {
    WindowState newState;
    TitlePicture show;
    TitlePicture hide;
    friend bool operator==(const MaximizeStep&, const MaximizeStep&) = default;
};
MaximizeStep maximizeOrRestore(WindowState current);

} // namespace ui
