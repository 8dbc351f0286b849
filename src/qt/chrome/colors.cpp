#include "colors.h"

namespace chrome {

QColor colorFromBgr(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor titleBarColor() { return colorFromBgr(TitleBarColorValue); }
QColor contentColor() { return colorFromBgr(ContentColorValue); }
QColor navyColor() { return colorFromBgr(NavyColorValue); }
QColor redColor() { return colorFromBgr(RedColorValue); }

} // namespace chrome
