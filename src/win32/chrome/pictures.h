#pragma once

// The artwork as device-independent bitmaps with premultiplied alpha, drawn
// with AlphaBlend so the colour beneath shows around each glyph.

#include "handles.h"

#include "artwork/pictures.h"
#include "ui/geometry.h"

#include <cstdint>
#include <vector>

namespace win32 {

// Premultiplied BGRA words of a picture at its own size, or reduced to
// width x height by averaging the source pixels each target pixel covers.
std::vector<std::uint32_t> premultipliedPixels(const artwork::Picture& picture);
std::vector<std::uint32_t> reducedPixels(const artwork::Picture& picture, int width, int height);

// A top-down 32-bit bitmap holding those words.
Bitmap bitmapOf(const std::vector<std::uint32_t>& pixels, int width, int height);

// Draws a premultiplied bitmap of that size at `at`, blended over what is there.
void drawBlended(HDC dc, HBITMAP bitmap, ui::Size size, ui::Point at);

// An icon or cursor from a picture (32-bit with alpha); for a cursor the hot
// spot is the top-left pixel.
Icon iconOf(const artwork::Picture& picture, bool cursor);

} // namespace win32
