#pragma once

// Plain geometry shared by both front-ends, in pixels. A Rect is
// left/top/width/height, as layouts give bounds.

namespace ui {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; }   // one past the last column
    constexpr int bottom() const { return top + height; }  // one past the last row
    constexpr Size size() const { return {width, height}; }
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right() && p.y >= top && p.y < bottom(); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Sizes are given at 96 pixels per inch; a window on a monitor of `dpi`
// scales them, rounding to the nearest pixel as the system does.
inline constexpr int BaseDpi = 96;
constexpr int scaled(int pixels, int dpi)
{
    const long long product = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(product >= 0 ? (product + BaseDpi / 2) / BaseDpi : -((-product + BaseDpi / 2) / BaseDpi));
}
Rect scaled(const Rect& rect, int dpi);

} // namespace ui
