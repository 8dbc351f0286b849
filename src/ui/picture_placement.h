#pragma once

#include "ui/geometry.h"

namespace ui {

enum class PictureFit {
    ActualSize,  // centred at the picture's own size, never scaled (title bar)
    ShrinkToFit, // centred, reduced proportionally when too large, never enlarged (search button)
};

// Where a picture of size `picture` lands in a box of size `box`. A picture
// larger than an ActualSize box overhangs equally on both sides.
Rect placePicture(Size picture, Size box, PictureFit fit);

} // namespace ui
