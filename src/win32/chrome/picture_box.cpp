#include "picture_box.h"

#include "pictures.h"

#include <windowsx.h>

namespace win32 {

namespace {

constexpr const wchar_t* ClassName = L"QuelvoPicture";

// Whole-pixel glyphs stay sharp: they grow only by whole factors, from twice
// the base density up.
int wholeFactor(int dpi)
{
    return dpi >= 2 * ui::BaseDpi ? dpi / ui::BaseDpi : 1;
}

std::vector<std::uint32_t> enlarged(const artwork::Picture& p, int factor)
{
    std::vector<std::uint32_t> source = premultipliedPixels(p);
    if (factor == 1)
        return source;
    const int width = p.width * factor;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * p.height * factor);
    for (int y = 0; y < p.height * factor; ++y)
        for (int x = 0; x < width; ++x)
            out[static_cast<std::size_t>(y) * width + x] = source[static_cast<std::size_t>(y / factor) * p.width + x / factor];
    return out;
}

} // namespace

void PictureBox::create(HWND parent, int id, const artwork::Picture& picture, ui::PictureFit fit,
                        const Panel& background, const ui::Rect& bounds, int dpi)
{
    picture_ = &picture;
    fit_ = fit;
    background_ = &background;
    dpi_ = dpi;
    registerClass(ClassName);
    Window::create({ClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent, id, bounds});
}

void PictureBox::setDpi(int dpi)
{
    // A new box size alone is caught by WM_SIZE and makeBitmap.
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    madeFor_ = {-1, -1};
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureBox::setVisible(bool visible)
{
    if (!visible && tracking_) {
        TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, hwnd(), 0};
        TrackMouseEvent(&cancel);
        tracking_ = false;
        Window::setVisible(false);
        if (onLeave)
            onLeave();
        return;
    }
    Window::setVisible(visible);
    // Shown under the pointer: the pointer has entered it, moving or not.
    POINT at{};
    if (visible && !tracking_ && GetCursorPos(&at) && WindowFromPoint(at) == hwnd()) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
        tracking_ = true;
        if (onEnter)
            onEnter();
    }
}

ui::Rect PictureBox::pictureRect() const
{
    const ui::Size box = clientSize();
    if (fit_ == ui::PictureFit::ShrinkToFit)
        return ui::placePicture({picture_->width, picture_->height}, box, fit_);
    const int factor = wholeFactor(dpi_);
    return ui::placePicture({picture_->width * factor, picture_->height * factor}, box, fit_);
}

void PictureBox::makeBitmap(ui::Size box)
{
    if (madeFor_ == box && bitmap_)
        return;
    madeFor_ = box;
    const ui::Rect at = pictureRect();
    bitmapSize_ = {at.width, at.height};
    if (at.width <= 0 || at.height <= 0) {
        bitmap_.reset();
        return;
    }
    if (fit_ == ui::PictureFit::ShrinkToFit)
        bitmap_ = bitmapOf(reducedPixels(*picture_, at.width, at.height), at.width, at.height);
    else
        bitmap_ = bitmapOf(enlarged(*picture_, wholeFactor(dpi_)), at.width, at.height);
}

void PictureBox::paint(HDC dc, const RECT&)
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    fill(dc, client, background_->color());
    makeBitmap(clientSize());
    if (bitmap_) {
        const ui::Rect at = pictureRect();
        drawBlended(dc, bitmap_.get(), bitmapSize_, {at.left, at.top});
    }
}

LRESULT PictureBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        // The picture is placed within the whole box, so all of it repaints.
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            tracking_ = true;
            if (onEnter)
                onEnter();
        }
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (onLeave)
            onLeave();
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (GetCapture() == hwnd())
            ReleaseCapture();
        RECT client{};
        GetClientRect(hwnd(), &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (wasPressed && PtInRect(&client, at) && onClick)
            onClick();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    default:
        break;
    }
    return PaintedWindow::onMessage(message, wParam, lParam);
}

} // namespace win32
