#pragma once

// The windows' colours. Values are 0x00BBGGRR, red in the low byte, as the
// window layouts give them (and as the Windows API takes them).

#include <cstdint>

namespace ui {

using Color = std::uint32_t;

inline constexpr Color TitleBarColor = 12606506; // #2A5CC0: bar and button cells at rest
inline constexpr Color ContentColor = 13814465;  // #C1CAD2: the area below the bar
inline constexpr Color NavyColor = 8388608;      // #000080: minimise and maximise/restore under the pointer
inline constexpr Color RedColor = 255;           // #FF0000: close under the pointer
inline constexpr Color WhiteColor = 0x00FFFFFF;  // caption and labels

constexpr int red(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int green(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

} // namespace ui
