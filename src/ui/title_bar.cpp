#include "ui/title_bar.h"

#include <algorithm>

namespace ui {

TitleBarLayout titleBarLayout(int width)
{
    TitleBarLayout l;
    l.pnlTopo = {0, 0, width, TitleBarHeight};
    l.pnlLogo = {0, 0, LogoBlockWidth, TitleBarHeight};
    l.pnImage1 = {0, 0, LogoPanelWidth, TitleBarHeight};
    l.Image1 = LogoRect;
    l.Panel1 = {LogoPanelWidth, 0, LogoBlockWidth - LogoPanelWidth, TitleBarHeight};
    // The button block sticks to the right; a bar narrower than both blocks
    // lets it cover the logo block rather than leave the window.
    l.pnNV = {width - ButtonBlockWidth, 0, ButtonBlockWidth, TitleBarHeight};
    l.Panel7 = {0, 0, ButtonCellWidth, TitleBarHeight};
    l.Panel8 = {ButtonCellWidth, 0, ButtonCellWidth, TitleBarHeight};
    l.Panel6 = {2 * ButtonCellWidth, 0, ButtonCellWidth, TitleBarHeight};
    l.freeStretch = {LogoBlockWidth, 0, std::max(0, width - LogoBlockWidth - ButtonBlockWidth), TitleBarHeight};
    return l;
}

std::optional<TitleBarHandler> titleBarHandler(TitleBarKind kind, TitlePicture picture, PictureEvent event)
{
    using H = TitleBarHandler;
    const bool search = kind == TitleBarKind::SearchWindow;
    switch (picture) {
    case TitlePicture::Image1:
        if (!search)
            return std::nullopt;
        [[fallthrough]];
    case TitlePicture::minimized:
        return event == PictureEvent::Click   ? H::minimizedClick
               : event == PictureEvent::Enter ? H::minimizedMouseEnter
                                              : H::minimizedMouseLeave;
    case TitlePicture::maximized:
        return event == PictureEvent::Click   ? H::maximizedClick
               : event == PictureEvent::Enter ? H::maximizedMouseEnter
                                              : H::maximizedMouseLeave;
    case TitlePicture::bk_max:
        if (event == PictureEvent::Click)
            return H::bk_maxClick;
        if (search)
            return event == PictureEvent::Enter ? H::maximizedMouseEnter : H::maximizedMouseLeave;
        return event == PictureEvent::Enter ? H::bk_maxMouseEnter : H::bk_maxMouseLeave;
    case TitlePicture::close:
        return event == PictureEvent::Click   ? H::closeClick
               : event == PictureEvent::Enter ? H::closeMouseEnter
                                              : H::closeMouseLeave;
    }
    return std::nullopt;
}

std::optional<CellColor> cellColorFor(TitleBarHandler handler)
{
    using H = TitleBarHandler;
    switch (handler) {
    case H::minimizedMouseEnter: return CellColor{TitleCell::Panel7, NavyColor};
    case H::minimizedMouseLeave: return CellColor{TitleCell::Panel7, TitleBarColor};
    case H::maximizedMouseEnter:
    case H::bk_maxMouseEnter: return CellColor{TitleCell::Panel8, NavyColor};
    case H::maximizedMouseLeave:
    case H::bk_maxMouseLeave: return CellColor{TitleCell::Panel8, TitleBarColor};
    case H::closeMouseEnter: return CellColor{TitleCell::Panel6, RedColor};
    case H::closeMouseLeave: return CellColor{TitleCell::Panel6, TitleBarColor};
    case H::minimizedClick:
    case H::maximizedClick:
    case H::bk_maxClick:
    case H::closeClick: break;
    }
    return std::nullopt;
}

CloseAction closeActionFor(TitleBarKind kind)
{
    return kind == TitleBarKind::SearchWindow ? CloseAction::EndProgram : CloseAction::CloseWindow;
}

MaximizeStep maximizeOrRestore(WindowState current)
{
    if (current != WindowState::Normal)
        return {WindowState::Normal, TitlePicture::maximized, TitlePicture::bk_max};
    return {WindowState::Maximized, TitlePicture::bk_max, TitlePicture::maximized};
}

} // namespace ui
