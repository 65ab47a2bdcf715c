#include "engine/pipeline.h"

#include <array>
#include <exception>
#include <functional>
#include <utility>

#include "core/format_catalogue.h"
#include "engine/naming/filename_mask.h"
#include "engine/pcx/pcx_loader.h"
#include "engine/drawing_layer.h"
#include "engine/save.h"
#include "engine/transforms/transforms.h"
#include "platform/paths.h"

namespace pixalto {

namespace {

// Icons are at most 128 by 128: a larger picture is squeezed to exactly that.
Bitmap limitIconSize(Bitmap bitmap, const std::string& outputExtension) {
    if (outputExtension != "ico" || (bitmap.width() <= 128 && bitmap.height() <= 128)) return bitmap;
    return bitmap.then([](FIBITMAP* dib) { return FreeImage_Rescale(dib, 128, 128, FILTER_BICUBIC); });
}

Bitmap convertToTargetDepth(Bitmap bitmap, ConversionJob& job) {
    if (job.autoBitDepth) {
        job.targetBitDepth = chooseAutoBitDepth(job.outputExtension, job.sourceBitDepth);
        // The automatic choice never turns a colour picture grey: a writer
        // that keeps only grey levels at 8 bits gets its next depth instead.
        const FREE_IMAGE_COLOR_TYPE type = FreeImage_GetColorType(bitmap.get());
        if (job.targetBitDepth == 8 && storesGreyOnly(job.outputExtension) && type != FIC_MINISBLACK &&
            type != FIC_MINISWHITE)
            job.targetBitDepth = chooseAutoBitDepth(job.outputExtension, 24);
    }
    return convertBitDepth(std::move(bitmap), job.targetBitDepth, job.outputExtension);
}

// Two of FreeImage's writers ignore part of the picture's description; the
// picture is put into the layout they assume before they get it.
void prepareForWriter(FIBITMAP* dib, const std::string& outputExtension) {
    if (outputExtension == "pfm") {
        // PFM rows are stored bottom row first; this writer stores the top row first.
        FreeImage_FlipVertical(dib);
    } else if (outputExtension == "pbm" && FreeImage_GetBPP(dib) == 1) {
        // A PBM bit of 1 is black; this writer stores the palette index as
        // it is, so index 1 must be the darker colour.
        RGBQUAD* palette = FreeImage_GetPalette(dib);
        const auto level = [](const RGBQUAD& c) { return c.rgbRed + c.rgbGreen + c.rgbBlue; };
        if (!palette || level(palette[1]) <= level(palette[0])) return;
        const unsigned bytes = FreeImage_GetLine(dib);
        for (unsigned y = 0; y < FreeImage_GetHeight(dib); ++y) {
            BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
            for (unsigned x = 0; x < bytes; ++x) line[x] = static_cast<BYTE>(~line[x]);
        }
        std::swap(palette[0], palette[1]);
    }
}

bool saveOutput(Bitmap bitmap, ConversionJob& job, const ConversionSettings& settings) {
    const OutputFormat* format = findOutputFormat(job.outputExtension);
    if (!format) return false;
    if (format->writer == Writer::DevIL)
        return saveWithDevIL(std::move(bitmap), job.formatId, job.outputExtension == "dds", job.outputPath,
                             job.tempPath);
    if (job.outputExtension == "bmp" && job.targetBitDepth == 8 && settings.bmpColorTable == 1)
        return writeCompactPaletteBmp(bitmap.get(), job.formatId, job.saveFlags, job.outputPath, job.tempPath);
    if (job.outputExtension == "jxr") return saveJpegXr(bitmap.get(), job.outputPath, job.tempPath);
    prepareForWriter(bitmap.get(), job.outputExtension);
    return saveWithFreeImage(bitmap.get(), job.formatId, job.saveFlags, job.outputPath, job.tempPath);
}

bool convert(ConversionJob& job, const ConversionSettings& settings) {
    Bitmap bitmap = loadPcx(job.inputPath);
    job.sourceBitDepth = static_cast<int32_t>(bitmap.bpp());
    if (bitmap.width() == 0 || bitmap.height() == 0) return false;

    using Step = std::function<Bitmap(Bitmap)>;
    const std::array<Step, 12> steps = {
        [&](Bitmap b) { return rotateImage(std::move(b), settings); },
        [&](Bitmap b) { return resizeImage(std::move(b), settings); },
        [&](Bitmap b) { return limitIconSize(std::move(b), job.outputExtension); },
        [&](Bitmap b) { return flipImage(std::move(b), settings); },
        [&](Bitmap b) { return correctColors(std::move(b), settings); },
        [&](Bitmap b) { return convertToGreyscale(std::move(b), settings); },
        [&](Bitmap b) { return applyThreshold(std::move(b), settings); },
        [&](Bitmap b) { return applyDither(std::move(b), settings); },
        [&](Bitmap b) { return drawFrame(std::move(b), settings); },
        [&](Bitmap b) {
            job.resultWidth = static_cast<int32_t>(b.width());
            job.resultHeight = static_cast<int32_t>(b.height());
            job.frameNumber = 1;
            return b;
        },
        [&](Bitmap b) { return drawWatermark(std::move(b), settings, job); },
        [&](Bitmap b) { return convertToTargetDepth(std::move(b), job); },
    };
    for (const Step& step : steps) {
        bitmap = step(std::move(bitmap));
        if (!bitmap) return false;
    }

    const std::string folder = job.outputFolder + (settings.keepSubfolders ? job.relativeFolder : std::string());
    job.outputPath = folder + expandFilenameMask(job, settings);
    // The temporary file lives in the output's own folder, so the final
    // rename never crosses file systems.
    job.tempPath = folderPart(job.outputPath) + makeTempName() + "." + job.outputExtension;
    return saveOutput(std::move(bitmap), job, settings);
}

}  // namespace

bool convertFile(ConversionJob& job, const ConversionSettings& settings) {
    try {
        return convert(job, settings);
    } catch (const std::exception&) {
        // Out of memory in a step, for example: this file fails, the run goes on.
        return false;
    }
}

int saveFlagsFor(const ConversionSettings& s, const std::string& ext) {
    // Settings code -> flag, for the formats whose option is a list of choices.
    const auto pick = [](int code, std::initializer_list<int> flags) {
        return code >= 0 && code < static_cast<int>(flags.size()) ? flags.begin()[code] : 0;
    };
    if (ext == "bmp") return s.bmpCompression == 1 ? BMP_SAVE_RLE : 0;
    if (ext == "exr") return pick(s.exrCompression, {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44});
    if (ext == "jpg")
        return s.jpgQuality |
               pick(s.jpgChroma,
                    {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_420, JPEG_SUBSAMPLING_411}) |
               pick(s.jpgSaveAs, {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE});
    if (ext == "jxr") return JXR_LOSSLESS;
    if (ext == "png")
        return pick(s.pngCompression,
                    {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED, PNG_Z_DEFAULT_COMPRESSION, PNG_Z_BEST_COMPRESSION}) |
               (s.pngInterlaced ? PNG_INTERLACED : 0);
    if (ext == "tga") return s.tgaCompression == 1 ? TARGA_SAVE_RLE : 0;
    if (ext == "tiff")
        return pick(s.tiffCompression, {TIFF_NONE, TIFF_CCITTFAX3, TIFF_CCITTFAX4, TIFF_PACKBITS, TIFF_DEFLATE,
                                        TIFF_ADOBE_DEFLATE, TIFF_LZW, TIFF_JPEG, TIFF_LOGLUV}) |
               (s.tiffColorMode == 1 ? TIFF_CMYK : 0);
    if (ext == "webp") return s.webpQuality == 100 ? WEBP_LOSSLESS : s.webpQuality;
    return 0;
}

}  // namespace pixalto
