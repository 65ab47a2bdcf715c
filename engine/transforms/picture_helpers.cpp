#include "engine/transforms/picture_helpers.h"

#include <cmath>
#include <numbers>

namespace pixalto {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Longest side accepted, so that a row of 16-byte pixels still has a 32-bit pitch.
constexpr uint64_t kMaxSide = uint64_t{1} << 27;

}  // namespace

RgbColor parseColorText(std::string_view text) {
    if (text.size() != 6) return {};
    uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[2 * i]);
        const int low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) return {};
        channels[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return {channels[0], channels[1], channels[2]};
}

bool fitsPixelMemory(int64_t width, int64_t height, unsigned bitsPerPixel) {
    if (width <= 0 || height <= 0) return false;
    const uint64_t bytesPerPixel = (bitsPerPixel + 7) / 8 == 0 ? 1 : (bitsPerPixel + 7) / 8;
    const uint64_t w = static_cast<uint64_t>(width);
    const uint64_t h = static_cast<uint64_t>(height);
    // Rows are addressed with 32-bit pitches inside FreeImage and Qt.
    if (w > kMaxSide || h > kMaxSide) return false;
    return w * h <= kMaxPixelBytes / bytesPerPixel;
}

bool rotatedPictureFits(unsigned width, unsigned height, unsigned bitsPerPixel, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::fabs(std::cos(radians));
    const double s = std::fabs(std::sin(radians));
    const double newWidth = std::ceil(width * c + height * s) + 2.0;
    const double newHeight = std::ceil(width * s + height * c) + 2.0;
    return fitsPixelMemory(static_cast<int64_t>(newWidth), static_cast<int64_t>(newHeight), bitsPerPixel);
}

Bitmap convertTo24BitsWhen(Bitmap bitmap, bool convert) {
    if (!convert) return bitmap;
    return bitmap.then(FreeImage_ConvertTo24Bits);
}

}  // namespace pixalto
