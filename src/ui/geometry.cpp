#include "ui/geometry.h"

namespace ui {

Rect scaled(const Rect& rect, int dpi)
{
    // Edges are scaled, not sizes, so neighbouring rectangles stay adjacent.
    const int left = scaled(rect.left, dpi);
    const int top = scaled(rect.top, dpi);
    return {left, top, scaled(rect.right(), dpi) - left, scaled(rect.bottom(), dpi) - top};
}

} // namespace ui
