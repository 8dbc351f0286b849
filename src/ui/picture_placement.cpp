#include "ui/picture_placement.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Half a difference, rounded down also when negative.
int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

} // namespace

Rect placePicture(Size picture, Size box, PictureFit fit)
{
    Size drawn = picture;
    if (fit == PictureFit::ShrinkToFit && picture.width > 0 && picture.height > 0
        && (picture.width > box.width || picture.height > box.height)) {
        const double scale =
            std::min(double(box.width) / picture.width, double(box.height) / picture.height);
        drawn = {std::max(0, int(std::lround(picture.width * scale))),
                 std::max(0, int(std::lround(picture.height * scale)))};
    }
    return {floorHalf(box.width - drawn.width), floorHalf(box.height - drawn.height), drawn.width, drawn.height};
}

} // namespace ui
