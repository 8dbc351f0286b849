#include "colors.h"

namespace chrome {

QColor colorFromBgr(ui::Color value)
{
    return QColor(ui::red(value), ui::green(value), ui::blue(value));
}

QColor titleBarColor() { return colorFromBgr(ui::TitleBarColor); }
QColor contentColor() { return colorFromBgr(ui::ContentColor); }
QColor navyColor() { return colorFromBgr(ui::NavyColor); }
QColor redColor() { return colorFromBgr(ui::RedColor); }

} // namespace chrome
