#include "ui/cell_click.h"

namespace ui {

bool CellClickRule::press(MouseButton button, GridArea area)
{
    if (button == MouseButton::Left)
        leftPressOnCell_ = area == GridArea::DataCell;
    return area == GridArea::DataCell || area == GridArea::Indicator;
}

bool CellClickRule::release(MouseButton button, GridArea area)
{
    if (button != MouseButton::Left)
        return false;
    const bool pressedOnCell = leftPressOnCell_;
    leftPressOnCell_ = false;
    return pressedOnCell && area == GridArea::DataCell;
}

} // namespace ui
