#pragma once
// Small pictures for the tests of the picture steps and the drawing of frame
// and watermark. Coordinates are from the top-left corner.
#include <FreeImage.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

#include "engine/bitmap.h"

namespace pixalto::test {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// A 24- or 32-bit picture of one colour (alpha 255).
inline Bitmap solidPicture(int width, int height, Rgb color, unsigned bpp = 24) {
    Bitmap bitmap(FreeImage_Allocate(width, height, bpp, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    const unsigned step = bpp / 8;
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap.get(), y);
        for (int x = 0; x < width; ++x, row += step) {
            row[FI_RGBA_RED] = static_cast<BYTE>(color.red);
            row[FI_RGBA_GREEN] = static_cast<BYTE>(color.green);
            row[FI_RGBA_BLUE] = static_cast<BYTE>(color.blue);
            if (step == 4) row[FI_RGBA_ALPHA] = 255;
        }
    }
    return bitmap;
}

// A 24-bit picture of reproducible noise.
inline Bitmap noisePicture(int width, int height, unsigned seed = 1) {
    Bitmap bitmap(FreeImage_Allocate(width, height, 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap.get(), y);
        for (int x = 0; x < width * 3; ++x) row[x] = static_cast<BYTE>(random() & 0xFF);
    }
    return bitmap;
}

inline Rgb pixelAt(const Bitmap& bitmap, int x, int y) {
    RGBQUAD quad{};
    FreeImage_GetPixelColor(bitmap.get(), static_cast<unsigned>(x), bitmap.height() - 1 - static_cast<unsigned>(y),
                            &quad);
    return {quad.rgbRed, quad.rgbGreen, quad.rgbBlue};
}

// Same size, depth, palette and pixel bytes.
inline bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (!a || !b || a.width() != b.width() || a.height() != b.height() || a.bpp() != b.bpp()) return false;
    const unsigned colors = FreeImage_GetColorsUsed(a.get());
    if (colors != FreeImage_GetColorsUsed(b.get())) return false;
    if (colors && std::memcmp(FreeImage_GetPalette(a.get()), FreeImage_GetPalette(b.get()), colors * sizeof(RGBQUAD)))
        return false;
    const unsigned line = FreeImage_GetLine(a.get());
    for (unsigned y = 0; y < a.height(); ++y)
        if (std::memcmp(FreeImage_GetScanLine(a.get(), y), FreeImage_GetScanLine(b.get(), y), line) != 0)
            return false;
    return true;
}

// Bounding box of the pixels that differ from the colour.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Box&) const = default;
};

inline Box boxOfPixelsOtherThan(const Bitmap& bitmap, Rgb background) {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    for (int y = 0; y < static_cast<int>(bitmap.height()); ++y)
        for (int x = 0; x < static_cast<int>(bitmap.width()); ++x)
            if (!(pixelAt(bitmap, x, y) == background)) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace pixalto::test
