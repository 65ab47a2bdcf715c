#pragma once
// Small helpers shared by the picture steps and the drawing of frame and
// watermark: colour texts, the pixel-memory ceiling and the 24-bit conversion.
#include <cstdint>
#include <string_view>

#include "engine/bitmap.h"

namespace pixalto {

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RgbColor&) const = default;
};

// Reads "RRGGBB". A text of another length, or with a character that is not a
// hexadecimal digit, stands for black.
RgbColor parseColorText(std::string_view text);

// Largest pixel buffer that a step may ask for. Larger results fail the file
// instead of being allocated.
inline constexpr uint64_t kMaxPixelBytes = uint64_t{4} << 30;

// True when a width x height picture of bitsPerPixel fits under the ceiling
// (and both sides are positive).
bool fitsPixelMemory(int64_t width, int64_t height, unsigned bitsPerPixel);

// True when the canvas holding a width x height picture turned by the angle
// (with a pixel of slack on each side) fits under the ceiling.
bool rotatedPictureFits(unsigned width, unsigned height, unsigned bitsPerPixel, double degrees);

// The bitmap converted to 24 bits when convert is true, else the input.
Bitmap convertTo24BitsWhen(Bitmap bitmap, bool convert);

}  // namespace pixalto
