#include "pictures.h"

#include <algorithm>

namespace win32 {

namespace {

std::uint32_t premultiply(std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24;
    auto channel = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (channel((argb >> 16) & 0xFF) << 16) | (channel((argb >> 8) & 0xFF) << 8) | channel(argb & 0xFF);
}

std::uint32_t premultipliedAt(const artwork::Picture& p, int column, int row)
{
    const std::uint32_t value = p.pixel(column, row);
    return p.premultiplied ? value : premultiply(value);
}

BITMAPINFO topDownInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

std::vector<std::uint32_t> premultipliedPixels(const artwork::Picture& p)
{
    std::vector<std::uint32_t> out(static_cast<std::size_t>(p.width) * p.height);
    for (int row = 0; row < p.height; ++row)
        for (int column = 0; column < p.width; ++column)
            out[static_cast<std::size_t>(row) * p.width + column] = premultipliedAt(p, column, row);
    return out;
}

std::vector<std::uint32_t> reducedPixels(const artwork::Picture& p, int width, int height)
{
    if (width >= p.width && height >= p.height)
        return premultipliedPixels(p);
    // Box filter in premultiplied space: each target pixel averages the source
    // area it covers, partial pixels weighted by their share.
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    const double sx = double(p.width) / width;
    const double sy = double(p.height) / height;
    for (int y = 0; y < height; ++y) {
        const double top = y * sy;
        const double bottom = top + sy;
        for (int x = 0; x < width; ++x) {
            const double left = x * sx;
            const double right = left + sx;
            double sum[4] = {0, 0, 0, 0};
            for (int row = int(top); row < std::min(p.height, int(bottom + 0.999999)); ++row) {
                const double wy = std::min(bottom, row + 1.0) - std::max(top, double(row));
                for (int column = int(left); column < std::min(p.width, int(right + 0.999999)); ++column) {
                    const double w = wy * (std::min(right, column + 1.0) - std::max(left, double(column)));
                    if (w <= 0)
                        continue;
                    const std::uint32_t v = premultipliedAt(p, column, row);
                    for (int c = 0; c < 4; ++c)
                        sum[c] += w * ((v >> (8 * c)) & 0xFF);
                }
            }
            std::uint32_t value = 0;
            for (int c = 0; c < 4; ++c)
                value |= std::uint32_t(std::clamp(int(sum[c] / (sx * sy) + 0.5), 0, 255)) << (8 * c);
            out[static_cast<std::size_t>(y) * width + x] = value;
        }
    }
    return out;
}

Bitmap bitmapOf(const std::vector<std::uint32_t>& pixels, int width, int height)
{
    BITMAPINFO info = topDownInfo(width, height);
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits)
        std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    return bitmap;
}

void drawBlended(HDC dc, HBITMAP bitmap, ui::Size size, ui::Point at)
{
    MemoryDC source(CreateCompatibleDC(dc));
    Selection selected(source.get(), bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, at.x, at.y, size.width, size.height, source.get(), 0, 0, size.width, size.height, blend);
}

Icon iconOf(const artwork::Picture& p, bool cursor)
{
    // CreateIconIndirect takes straight alpha in the colour bitmap.
    std::vector<std::uint32_t> straight(static_cast<std::size_t>(p.width) * p.height);
    for (int row = 0; row < p.height; ++row) {
        for (int column = 0; column < p.width; ++column) {
            std::uint32_t v = p.pixel(column, row);
            const std::uint32_t a = v >> 24;
            if (p.premultiplied && a > 0 && a < 255) {
                auto channel = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
                v = (a << 24) | (channel((v >> 16) & 0xFF) << 16) | (channel((v >> 8) & 0xFF) << 8) | channel(v & 0xFF);
            }
            straight[static_cast<std::size_t>(row) * p.width + column] = v;
        }
    }
    Bitmap colour = bitmapOf(straight, p.width, p.height);
    // The alpha channel decides; the AND mask is all zeros (word-aligned rows).
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((p.width + 15) / 16 * 2) * p.height, 0);
    Bitmap mask(CreateBitmap(p.width, p.height, 1, 1, zeros.data()));
    ICONINFO info{};
    info.fIcon = cursor ? FALSE : TRUE;
    info.xHotspot = 0;
    info.yHotspot = 0;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return Icon(CreateIconIndirect(&info)); // copies both bitmaps
}

} // namespace win32
