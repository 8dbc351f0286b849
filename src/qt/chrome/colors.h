#pragma once

// The chrome's colours. Values are 0x00BBGGRR, red in the low byte, as the
// window layouts give them.

#include <QColor>
#include <cstdint>

namespace chrome {

inline constexpr std::uint32_t TitleBarColorValue = 12606506; // #2A5CC0, bar and cells at rest
inline constexpr std::uint32_t ContentColorValue = 13814465;  // #C1CAD2, area below the bar
inline constexpr std::uint32_t NavyColorValue = 8388608;      // #000080, minimise/maximise hover
inline constexpr std::uint32_t RedColorValue = 255;           // #FF0000, close hover

// Reads a 0x00BBGGRR value; the top byte is ignored.
QColor colorFromBgr(std::uint32_t value);

QColor titleBarColor();
QColor contentColor();
QColor navyColor();
QColor redColor();

} // namespace chrome
