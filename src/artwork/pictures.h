#pragma once

// The program's own pictures, drawn by tools/generate_artwork.cpp at build
// time and compiled in as pixel arrays, for every front-end.
//
// Pixels are 32-bit words 0xAARRGGBB, rows from the top. Title-bar and search
// pictures are white (or grey) glyphs on fully transparent backgrounds, with
// straight alpha, so the panel colour beneath shows around them; the icon
// and the cursor are kept premultiplied, as the system pictures made of them
// hold their pixels.

#include <cstdint>

namespace artwork {

struct Picture {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr;
    bool premultiplied = false;

    std::uint32_t pixel(int column, int row) const { return pixels[row * width + column]; }
};

enum class PictureId {
    Logo,            // Image1: 20 x 18 ring with a spur
    Minimize,        // minimized: 24 x 24
    Maximize,        // maximized: 18 x 18
    Restore,         // bk_max: 18 x 18
    Close,           // close: 24 x 24
    Search,          // search: 36 x 36, white
    SearchHover,     // bk_search: 36 x 36, grey, the same coverage
    ApplicationIcon, // 177 x 177 tile; smaller forms are scaled from it
    SqlWaitCursor,   // 32 x 32 hourglass over "SQL", hot spot at the top-left pixel
};

const Picture& picture(PictureId id);

} // namespace artwork
