#include "ui/title_bar.h"

#include <algorithm>

namespace ui {

TitleBarLayout titleBarLayout(int width, int dpi)
{
    const int height = scaled(TitleBarHeight, dpi);
    const int logoBlock = scaled(LogoBlockWidth, dpi);
    const int logoPanel = scaled(LogoPanelWidth, dpi);
    const int cell = scaled(ButtonCellWidth, dpi);
    TitleBarLayout l;
    l.pnlTopo = {0, 0, width, height};
    l.pnlLogo = {0, 0, logoBlock, height};
    l.pnImage1 = {0, 0, logoPanel, height};
    l.Image1 = scaled(LogoRect, dpi);
    l.Panel1 = {logoPanel, 0, logoBlock - logoPanel, height};
    // The button block sticks to the right; a bar narrower than both blocks
    // lets it cover the logo block rather than leave the window.
    l.pnNV = {width - 3 * cell, 0, 3 * cell, height};
    l.Panel7 = {0, 0, cell, height};
    l.Panel8 = {cell, 0, cell, height};
    l.Panel6 = {2 * cell, 0, cell, height};
    l.freeStretch = {logoBlock, 0, std::max(0, width - logoBlock - 3 * cell), height};
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
