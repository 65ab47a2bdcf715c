// JPEG XR output. The JPEG XR writer of the system's FreeImage fails on every
// picture, so the picture is encoded losslessly with jxrlib itself, through
// a temporary file like every other output.
#include <cstring>
#include <memory>
#include <new>

#include "engine/jxr_encoder.h"
#include "engine/save.h"

namespace pixalto {

namespace {

FIBITMAP* toGreyscale(FIBITMAP* dib) { return FreeImage_ConvertToGreyscale(dib); }
FIBITMAP* to24Bits(FIBITMAP* dib) { return FreeImage_ConvertTo24Bits(dib); }
FIBITMAP* toRgb16(FIBITMAP* dib) { return FreeImage_ConvertToRGB16(dib); }

struct EncoderInput {
    Bitmap converted;  // holds the pixels when a conversion was needed
    FIBITMAP* dib = nullptr;
    JxrPixels layout = JxrPixels::Bgr24;
    size_t bytesPerPixel = 3;
};

bool prepare(FIBITMAP* source, EncoderInput& in) {
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(source);
    const unsigned bpp = FreeImage_GetBPP(source);
    const bool grey = type == FIT_BITMAP && bpp <= 8 && FreeImage_GetColorType(source) == FIC_MINISBLACK;
    FIBITMAP* (*convert)(FIBITMAP*) = nullptr;
    if (type == FIT_RGB16 || type == FIT_RGBF || type == FIT_RGBAF) {
        // Floating-point pictures are written as 48-bit colour.
        in.layout = JxrPixels::Rgb48;
        in.bytesPerPixel = 6;
        if (type != FIT_RGB16) convert = toRgb16;
    } else if (type == FIT_BITMAP && bpp == 32) {
        in.layout = JxrPixels::Bgra32;
        in.bytesPerPixel = 4;
    } else if (grey) {
        in.layout = JxrPixels::Grey8;
        in.bytesPerPixel = 1;
        if (bpp != 8) convert = toGreyscale;
    } else if (type != FIT_BITMAP || bpp != 24) {
        convert = to24Bits;
    }
    if (convert) in.converted = Bitmap(convert(source));
    in.dib = convert ? in.converted.get() : source;
    return in.dib != nullptr;
}

}  // namespace

bool saveJpegXr(FIBITMAP* dib, const std::string& outputPath, std::string& tempPath) {
    if (!dib) return false;
    EncoderInput in;
    if (!prepare(dib, in)) return false;
    const unsigned width = FreeImage_GetWidth(in.dib);
    const unsigned height = FreeImage_GetHeight(in.dib);
    const size_t stride = static_cast<size_t>(width) * in.bytesPerPixel;

    // Rows top first, packed.
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[stride * height]);
    if (!pixels) return false;
    for (unsigned y = 0; y < height; ++y)
        std::memcpy(pixels.get() + static_cast<size_t>(y) * stride,
                    FreeImage_GetScanLine(in.dib, static_cast<int>(height - 1 - y)), stride);

    // jxrlib writes the claimed temporary file by name; the open handle stays
    // untouched, and the file is renamed (or removed) as for any output.
    return writeThroughTempFile(outputPath, tempPath, [&](std::FILE*) {
        return encodeJpegXr(tempPath, pixels.get(), width, height, stride, in.layout);
    });
}

}  // namespace pixalto
