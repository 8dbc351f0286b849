#pragma once

#include "handles.h"
#include "panel.h"

#include "artwork/pictures.h"
#include "ui/picture_placement.h"

#include <functional>

namespace win32 {

// A picture over its panel's colour. The whole rectangle counts for the
// pointer: entering and leaving it, and left clicks (press and release
// inside it).
class PictureBox : public PaintedWindow {
public:
    void create(HWND parent, int id, const artwork::Picture& picture, ui::PictureFit fit, const Panel& background,
                const ui::Rect& bounds, int dpi);
    // The pictures are made anew for another pixel density.
    void setDpi(int dpi);

    // Hiding a picture under the pointer is leaving it, as the pointer is
    // then over whatever lies beneath.
    void setVisible(bool visible);

    // Where the picture lands in the client area.
    ui::Rect pictureRect() const;

    std::function<void()> onClick;
    std::function<void()> onEnter;
    std::function<void()> onLeave;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void makeBitmap(ui::Size box);
    void paint(HDC dc, const RECT& dirty) override;

    const artwork::Picture* picture_ = nullptr;
    ui::PictureFit fit_ = ui::PictureFit::ActualSize;
    const Panel* background_ = nullptr;
    int dpi_ = 96;
    Bitmap bitmap_;
    ui::Size bitmapSize_;
    ui::Size madeFor_{-1, -1};
    bool tracking_ = false;
    bool pressed_ = false;
};

} // namespace win32
