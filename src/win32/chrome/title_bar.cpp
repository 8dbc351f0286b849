#include "title_bar.h"

#include "borderless_window.h"
#include "component_ids.h"
#include "fonts.h"

#include "artwork/pictures.h"

#include <utility>

namespace win32 {

namespace {

// WM_SYSCOMMAND's move command with the caption's hit-test code: the system
// moves the window with the pointer, as if its caption were dragged.
constexpr WPARAM SC_DRAGMOVE = SC_MOVE | HTCAPTION;

} // namespace

using artwork::PictureId;

void TitleBar::create(BorderlessWindow& window, ui::TitleBarKind kind, const Fonts& fonts)
{
    window_ = &window;
    const int dpi = window.dpi();
    const ui::TitleBarLayout l = ui::titleBarLayout(window.clientSize().width, dpi);
    const auto& picture = artwork::picture;
    const auto actual = ui::PictureFit::ActualSize;

    // The free stretch is the bar itself: the only part with the hand.
    Panel::create(window.hwnd(), ids::pnlTopo, ui::TitleBarColor, l.pnlTopo, Pointer::Hand);
    onMouseDown = [this](ui::MouseButton button, WPARAM shift, POINT at) { pnlTopoMouseDown(button, shift, at); };

    pnlLogo.create(hwnd(), ids::pnlLogo, ui::TitleBarColor, l.pnlLogo);
    pnImage1.create(pnlLogo.hwnd(), ids::pnImage1, ui::TitleBarColor, l.pnImage1);
    Image1.create(pnImage1.hwnd(), ids::Image1, picture(PictureId::Logo), actual, pnImage1, l.Image1, dpi);
    Panel1.create(pnlLogo.hwnd(), ids::Panel1, ui::TitleBarColor, l.Panel1);
    lbVersion.create(Panel1.hwnd(), ids::lbVersion, ui::CaptionText, fonts.caption.get(), ui::WhiteColor, Panel1,
                     {0, 0, l.Panel1.width, l.Panel1.height}, DT_CENTER);

    pnNV.create(hwnd(), ids::pnNV, ui::TitleBarColor, l.pnNV);
    Panel7.create(pnNV.hwnd(), ids::Panel7, ui::TitleBarColor, l.Panel7);
    const ui::Rect cell{0, 0, l.Panel7.width, l.Panel7.height};
    minimized.create(Panel7.hwnd(), ids::minimized, picture(PictureId::Minimize), actual, Panel7, cell, dpi);
    Panel8.create(pnNV.hwnd(), ids::Panel8, ui::TitleBarColor, l.Panel8);
    bk_max.create(Panel8.hwnd(), ids::bk_max, picture(PictureId::Restore), actual, Panel8, cell, dpi);
    maximized.create(Panel8.hwnd(), ids::maximized, picture(PictureId::Maximize), actual, Panel8, cell, dpi);
    SetWindowPos(maximized.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bk_max.setVisible(false);
    Panel6.create(pnNV.hwnd(), ids::Panel6, ui::TitleBarColor, l.Panel6);
    close.create(Panel6.hwnd(), ids::close, picture(PictureId::Close), actual, Panel6, cell, dpi);

    // Which picture raises which handler is decided with the Qt windows.
    for (ui::TitlePicture p : {ui::TitlePicture::Image1, ui::TitlePicture::minimized, ui::TitlePicture::maximized,
                               ui::TitlePicture::bk_max, ui::TitlePicture::close}) {
        PictureBox& box = ui::titleBarPicture(*this, p);
        const std::pair<ui::PictureEvent, std::function<void()>*> events[] = {
            {ui::PictureEvent::Click, &box.onClick},
            {ui::PictureEvent::Enter, &box.onEnter},
            {ui::PictureEvent::Leave, &box.onLeave},
        };
        for (const auto& [event, slot] : events) {
            if (const auto handler = ui::titleBarHandler(kind, p, event))
                *slot = [this, h = *handler] { ui::runTitleBarHandler(*this, h); };
        }
    }
}

void TitleBar::layout(int width, int dpi)
{
    const ui::TitleBarLayout l = ui::titleBarLayout(width, dpi);
    setBounds(l.pnlTopo);
    pnlLogo.setBounds(l.pnlLogo);
    pnImage1.setBounds(l.pnImage1);
    Image1.setBounds(l.Image1);
    Panel1.setBounds(l.Panel1);
    lbVersion.setBounds({0, 0, l.Panel1.width, l.Panel1.height});
    pnNV.setBounds(l.pnNV);
    Panel7.setBounds(l.Panel7);
    Panel8.setBounds(l.Panel8);
    Panel6.setBounds(l.Panel6);
    const ui::Rect cell{0, 0, l.Panel7.width, l.Panel7.height};
    for (PictureBox* p : {&minimized, &bk_max, &maximized, &close}) {
        p->setBounds(cell);
        p->setDpi(dpi);
    }
    Image1.setDpi(dpi);
}

void TitleBar::setFonts(const Fonts& fonts)
{
    lbVersion.setFont(fonts.caption.get());
}

void TitleBar::pnlTopoMouseDown(ui::MouseButton button, WPARAM, POINT)
{
    if (button != ui::MouseButton::Left)
        return;
    const HWND target = window_->dragTarget();
    if (!target)
        return;
    // The system's own move loop, as if the caption were dragged; it returns
    // when the button is released.
    ReleaseCapture();
    SendMessageW(target, WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}

void TitleBar::minimizedClick()
{
    window_->minimizeApplication();
}

void TitleBar::maximizedClick()
{
    toggleMaximized();
}

void TitleBar::bk_maxClick()
{
    toggleMaximized();
}

void TitleBar::toggleMaximized()
{
    const ui::MaximizeStep step = ui::maximizeOrRestore(window_->state());
    window_->setState(step.newState);
    ui::titleBarPicture(*this, step.show).setVisible(true);
    ui::titleBarPicture(*this, step.hide).setVisible(false);
}

void TitleBar::closeClick()
{
    // The same close as one from outside.
    SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
}

void TitleBar::paintCell(ui::TitleBarHandler hoverHandler)
{
    const auto paint = ui::cellColorFor(hoverHandler);
    if (!paint)
        return;
    ui::titleBarCell(*this, paint->cell).setColor(paint->color);
}

void TitleBar::minimizedMouseEnter() { paintCell(ui::TitleBarHandler::minimizedMouseEnter); }
void TitleBar::minimizedMouseLeave() { paintCell(ui::TitleBarHandler::minimizedMouseLeave); }
void TitleBar::maximizedMouseEnter() { paintCell(ui::TitleBarHandler::maximizedMouseEnter); }
void TitleBar::maximizedMouseLeave() { paintCell(ui::TitleBarHandler::maximizedMouseLeave); }
void TitleBar::bk_maxMouseEnter() { paintCell(ui::TitleBarHandler::bk_maxMouseEnter); }
void TitleBar::bk_maxMouseLeave() { paintCell(ui::TitleBarHandler::bk_maxMouseLeave); }
void TitleBar::closeMouseEnter() { paintCell(ui::TitleBarHandler::closeMouseEnter); }
void TitleBar::closeMouseLeave() { paintCell(ui::TitleBarHandler::closeMouseLeave); }

} // namespace win32
