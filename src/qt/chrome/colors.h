#pragma once

// The chrome's colours as Qt colours; the values themselves are ui's.

#include "ui/colors.h"

#include <QColor>

namespace chrome {

// Reads a 0x00BBGGRR value; the top byte is ignored.
QColor colorFromBgr(ui::Color value);

QColor titleBarColor();
QColor contentColor();
QColor navyColor();
QColor redColor();

} // namespace chrome
