// Colour correction, greyscale, threshold and dither of the working picture.
#include <iterator>

#include "engine/transforms/picture_helpers.h"
#include "engine/transforms/transforms.h"

namespace pixalto {

namespace {

FREE_IMAGE_DITHER ditherAlgorithm(int code) {
    static constexpr FREE_IMAGE_DITHER kAlgorithms[] = {
        FID_FS, FID_BAYER4x4, FID_BAYER8x8, FID_BAYER16x16, FID_CLUSTER6x6, FID_CLUSTER8x8, FID_CLUSTER16x16,
    };
    if (code < 0 || code >= static_cast<int>(std::size(kAlgorithms))) return FID_FS;
    return kAlgorithms[code];
}

// Threshold and dither read 4-bit pictures and deeper; other depths go through 24 bits.
Bitmap toBilevelInput(Bitmap bitmap) {
    const unsigned depth = bitmap.bpp();
    return convertTo24BitsWhen(std::move(bitmap), depth > 32 || depth < 4);
}

}  // namespace

Bitmap correctColors(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doImageColorCorrection || !bitmap) return bitmap;
    const unsigned depth = bitmap.bpp();
    bitmap = convertTo24BitsWhen(std::move(bitmap), depth < 8 || depth > 32);
    if (!bitmap) return bitmap;
    // FreeImage leaves pictures it cannot adjust untouched; that is not a failure of the file.
    FreeImage_AdjustColors(bitmap.get(), settings.imageBrightness, settings.imageContrast, settings.imageGamma,
                           settings.imageInvert ? TRUE : FALSE);
    return bitmap;
}

Bitmap convertToGreyscale(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doImageGreyscale || !bitmap) return bitmap;
    const unsigned depth = bitmap.bpp();
    bitmap = convertTo24BitsWhen(std::move(bitmap), depth > 32);
    return bitmap.then(FreeImage_ConvertToGreyscale);
}

Bitmap applyThreshold(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doImageThreshold || !bitmap) return bitmap;
    const BYTE level = static_cast<BYTE>(settings.imageThreshold & 0xFF);
    return toBilevelInput(std::move(bitmap)).then([level](FIBITMAP* dib) { return FreeImage_Threshold(dib, level); });
}

Bitmap applyDither(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doImageDither || !bitmap) return bitmap;
    const FREE_IMAGE_DITHER algorithm = ditherAlgorithm(settings.imageDitherAlgorithm);
    return toBilevelInput(std::move(bitmap)).then([algorithm](FIBITMAP* dib) {
        return FreeImage_Dither(dib, algorithm);
    });
}

}  // namespace pixalto
