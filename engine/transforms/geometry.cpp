// Rotation, resize and flips of the working picture.
#include <cmath>
#include <cstdint>
#include <iterator>

#include "engine/transforms/picture_helpers.h"
#include "engine/transforms/transforms.h"

namespace pixalto {

namespace {

constexpr int kSimpleRotation = 0;
constexpr int kAdvancedRotation = 1;

// A size setting turned into pixels: unit 0 is pixels, unit 1 percent of the
// current side (halves to even), anything else 0.
int64_t sizeInPixels(int32_t value, int8_t unit, unsigned side) {
    switch (unit) {
    case 0:
        return value;
    case 1: {
        const double pixels = std::nearbyint(value / 100.0 * side);
        if (pixels > static_cast<double>(INT64_MAX / 4)) return INT64_MAX / 4;
        if (pixels < static_cast<double>(INT64_MIN / 4)) return INT64_MIN / 4;
        return static_cast<int64_t>(pixels);
    }
    default:
        return 0;
    }
}

FREE_IMAGE_FILTER resizeFilter(int algorithm) {
    static constexpr FREE_IMAGE_FILTER kFilters[] = {
        FILTER_BOX, FILTER_BILINEAR, FILTER_BSPLINE, FILTER_BICUBIC, FILTER_CATMULLROM, FILTER_LANCZOS3,
    };
    if (algorithm < 0 || algorithm >= static_cast<int>(std::size(kFilters))) return FILTER_BICUBIC;
    return kFilters[algorithm];
}

// The other side for a kept aspect ratio: the ratio of the longer input side
// to the shorter one is held in single precision, the quotient rounded half
// away from zero. A side is never rounded down to nothing.
int64_t sideForRatio(int64_t targetSide, unsigned longer, unsigned shorter) {
    const float ratio = static_cast<float>(longer) / static_cast<float>(shorter);
    const double side = std::round(static_cast<double>(targetSide) / static_cast<double>(ratio));
    return side < 1.0 ? 1 : static_cast<int64_t>(side);
}

// Bits per pixel of a rescaled picture: FreeImage widens palette pictures of
// fewer than 8 bits and 16-bit pictures.
unsigned rescaledDepth(unsigned bpp) { return (bpp < 8 || bpp == 16) ? 32 : bpp; }

}  // namespace

Bitmap rotateImage(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doImageRotation || !bitmap) return bitmap;
    const int angle = settings.imageRotation;
    if (angle <= 0 || angle >= 360) return bitmap;

    const unsigned depth = bitmap.bpp();
    bitmap = convertTo24BitsWhen(std::move(bitmap), depth <= 16 || depth > 32);
    if (!bitmap) return bitmap;

    switch (settings.imageRotationType) {
    case kSimpleRotation: {
        if (!rotatedPictureFits(bitmap.width(), bitmap.height(), bitmap.bpp(), angle)) return {};
        const RgbColor back = parseColorText(settings.imageRotationBackColor);
        RGBQUAD background{};
        background.rgbBlue = back.blue;
        background.rgbGreen = back.green;
        background.rgbRed = back.red;
        background.rgbReserved = 0;
        return bitmap.then([&](FIBITMAP* dib) { return FreeImage_Rotate(dib, angle, &background); });
    }
    case kAdvancedRotation: {
        const double originX = bitmap.width() / 2.0;
        const double originY = bitmap.height() / 2.0;
        return bitmap.then([&](FIBITMAP* dib) {
            return FreeImage_RotateEx(dib, angle, 0.0, 0.0, originX, originY, FALSE);
        });
    }
    default:
        return bitmap;
    }
}

Bitmap resizeImage(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doImageResize || !bitmap) return bitmap;
    const unsigned w = bitmap.width();
    const unsigned h = bitmap.height();
    const int64_t targetWidth = sizeInPixels(settings.imageWidth, settings.imageWidthUnit, w);
    const int64_t targetHeight = sizeInPixels(settings.imageHeight, settings.imageHeightUnit, h);
    if (targetWidth <= 0 || targetHeight <= 0) return bitmap;
    if (w == targetWidth && h == targetHeight) return bitmap;
    if (settings.imageResizeType == 1 && w < targetWidth && h < targetHeight) return bitmap;

    int64_t newWidth = targetWidth;
    int64_t newHeight = targetHeight;
    if (settings.keepAspectRatio) {
        if (w >= h) {
            newHeight = sideForRatio(targetWidth, w, h);
        } else {
            newHeight = targetHeight;
            newWidth = sideForRatio(targetHeight, h, w);
        }
    }
    if (!fitsPixelMemory(newWidth, newHeight, rescaledDepth(bitmap.bpp()))) return {};
    const FREE_IMAGE_FILTER filter = resizeFilter(settings.imageResizeAlgorithm);
    return bitmap.then([&](FIBITMAP* dib) {
        return FreeImage_Rescale(dib, static_cast<int>(newWidth), static_cast<int>(newHeight), filter);
    });
}

Bitmap flipImage(Bitmap bitmap, const ConversionSettings& settings) {
    if (!bitmap) return bitmap;
    if (settings.doImageFlipHorizontal) FreeImage_FlipHorizontal(bitmap.get());
    if (settings.doImageFlipVertical) FreeImage_FlipVertical(bitmap.get());
    return bitmap;
}

}  // namespace pixalto
