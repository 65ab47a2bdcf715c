#include "cli/batch_run.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <vector>

#include "cli/console_progress.h"
#include "config/language_table.h"
#include "core/format_catalogue.h"
#include "core/keywords.h"
#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "engine/pipeline.h"
#include "engine/drawing_layer.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace pixalto {
namespace {

namespace fs = std::filesystem;

std::string number(int value) { return std::to_string(value); }

std::string word(int vocabulary, int code, std::string_view outputFormat = {}) {
    return keywordFor(vocabulary, code, outputFormat);
}

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// One debug line of an output format beyond its bit depth.
struct OptionLine {
    const char* label;
    std::string (*value)(const ConversionSettings&);
};

// What the run prints and checks for each output format.
struct FormatOptions {
    const char* extension;
    int32_t ConversionSettings::*bpp;
    std::vector<OptionLine> lines;             // printed after "<EXT> BPP: "
    const char* qualityName = nullptr;         // "jpg-quality": a value that must lie in 1..100
    int32_t ConversionSettings::*quality = nullptr;
};

const std::vector<FormatOptions>& formatOptionTable() {
    using S = ConversionSettings;
    static const std::vector<FormatOptions> table = {
        {"bmp", &S::bmpBpp,
         {{"BMP Compression: ", [](const S& s) { return word(kVocCompression, s.bmpCompression, "bmp"); }},
          {"BMP Color Table: ", [](const S& s) { return word(kVocBmpColorTable, s.bmpColorTable); }}}},
        {"dds", &S::ddsBpp, {}},
        {"exr", &S::exrBpp,
         {{"EXR Compression: ", [](const S& s) { return word(kVocCompression, s.exrCompression, "exr"); }}}},
        {"gif", &S::gifBpp, {}},
        {"hdr", &S::hdrBpp, {}},
        {"ico", &S::icoBpp, {}},
        {"j2k", &S::j2kBpp, {}},
        {"jng", &S::jngBpp, {}},
        {"jp2", &S::jp2Bpp, {}},
        {"jpg", &S::jpgBpp,
         {{"JPG Quality: ", [](const S& s) { return number(s.jpgQuality); }},
          {"JPG Chroma Subsampling: ", [](const S& s) { return word(kVocJpgChroma, s.jpgChroma); }},
          {"JPG Save As: ", [](const S& s) { return word(kVocJpgSaveAs, s.jpgSaveAs); }}},
         "jpg-quality", &S::jpgQuality},
        {"jxr", &S::jxrBpp, {}},
        {"pbm", &S::pbmBpp, {}},
        {"pcx", &S::pcxBpp, {}},
        {"pfm", &S::pfmBpp, {}},
        {"pgm", &S::pgmBpp, {}},
        {"png", &S::pngBpp,
         {{"PNG Compression: ", [](const S& s) { return word(kVocCompression, s.pngCompression, "png"); }},
          {"PNG Interlaced: ", [](const S& s) { return number(s.pngInterlaced); }}}},
        {"ppm", &S::ppmBpp, {}},
        {"psd", &S::psdBpp, {}},
        {"tga", &S::tgaBpp,
         {{"TGA Compression: ", [](const S& s) { return word(kVocCompression, s.tgaCompression, "tga"); }}}},
        {"tiff", &S::tiffBpp,
         {{"TIFF Compression: ", [](const S& s) { return word(kVocCompression, s.tiffCompression, "tiff"); }},
          {"TIFF Color Mode: ", [](const S& s) { return word(kVocColorMode, s.tiffColorMode); }}}},
        {"wbmp", &S::wbmpBpp, {}},
        {"webp", &S::webpBpp, {{"WEBP Quality: ", [](const S& s) { return number(s.webpQuality); }}},
         "webp-quality", &S::webpQuality},
        {"xpm", &S::xpmBpp, {}},
    };
    return table;
}

const FormatOptions* findFormatOptions(std::string_view extension) {
    for (const FormatOptions& f : formatOptionTable())
        if (extension == f.extension) return &f;
    return nullptr;
}

// The checks and the debug listing, in the order in which the run makes them.
class Validation {
public:
    Validation(ConversionJob& job, const ConversionSettings& settings, const LineSink& print)
        : job_(job), s_(settings), print_(print), debug_(job.runMode == "DEBUG") {}

    bool run() {
        return checkInput() && checkOutputFolder() && checkFormat() && checkFormatOptions() && listRotation() &&
               checkResize() && listFlips() && checkColorCorrection() && listEffects() && listFrame() &&
               checkWatermark() && listAdvanced();
    }

private:
    void show(const std::string& label, const std::string& value) {
        if (debug_) print_(label + value);
    }
    bool fail(const std::string& text) {
        print_("Error: " + text);
        return false;
    }

    bool checkInput() {
        show("Input: ", job_.inputRoot);
        if (!fileExtensionOf(job_.inputRoot).empty()) {
            job_.inputPath = job_.inputRoot;
            job_.inputRoot.clear();
            if (fileSizeOf(job_.inputPath) <= 0) return fail("Invalid input file");
            return true;
        }
        return checkFolder(job_.inputRoot, "input");
    }

    bool checkOutputFolder() {
        if (job_.outputFolder.empty())
            job_.outputFolder = folderPart(job_.inputRoot.empty() ? job_.inputPath : job_.inputRoot);
        show("Output: ", job_.outputFolder);
        return checkFolder(job_.outputFolder, "output");
    }

    // Makes the folder absolute with a trailing separator; relative folders are
    // taken below the program folder. The folder must exist: it is never created.
    bool checkFolder(std::string& folder, const std::string& which) {
        if (folder.starts_with("..")) return fail("Incorrect " + which + " folder");
        if (!isAbsolutePath(folder)) {
            if (folder.starts_with("./")) folder.erase(0, 2);
            folder = withTrailingSeparator(job_.programFolder) + folder;
        }
        folder = withTrailingSeparator(folder);
        std::error_code ec;
        return fs::is_directory(folder, ec) || fail("Invalid " + which + " folder");
    }

    bool checkFormat() {
        if (job_.runInputFormat.empty()) job_.runInputFormat = inputExtensions().front();
        if (job_.outputExtension.empty()) job_.outputExtension = outputExtensions().front();
        show("Conversion: ", job_.outputExtension);
        for (const std::string& extension : outputExtensions())
            if (extension == job_.outputExtension) return true;
        return fail("Invalid conversion type");
    }

    bool checkFormatOptions() {
        const std::string& extension = job_.outputExtension;
        const FormatOptions* f = findFormatOptions(extension);
        if (!f) return fail("Invalid conversion type");
        show(upperCase(extension) + " BPP: ", number(s_.*f->bpp));
        for (const OptionLine& line : f->lines) show(line.label, line.value(s_));
        if (!isBitDepthAllowed(extension, s_.*f->bpp)) return fail("Invalid " + extension + "-bpp value");
        if (f->quality) {
            const int32_t quality = s_.*f->quality;
            if (quality < 1 || quality > 100) return fail(std::string("Invalid ") + f->qualityName + " value");
        }
        return true;
    }

    bool listRotation() {
        if (s_.doImageRotation != 1) return true;
        show("Image Rotation Type: ", word(kVocRotationType, s_.imageRotationType));
        show("Image Rotation: ", number(s_.imageRotation));
        show("Image Rotation Back Color: ", s_.imageRotationBackColor);
        return true;
    }

    bool checkResize() {
        if (s_.doImageResize != 1) return true;
        show("Width: ", number(s_.imageWidth) + " " + word(kVocSizeUnit, s_.imageWidthUnit));
        if (s_.imageWidth == 0) return fail("Invalid width value");
        show("Height: ", number(s_.imageHeight) + " " + word(kVocSizeUnit, s_.imageHeightUnit));
        if (s_.imageHeight == 0) return fail("Invalid height value");
        show("Keep Aspect Ratio: ", number(s_.keepAspectRatio));
        show("Image Resize Type: ", word(kVocResizeType, s_.imageResizeType));
        show("Image Resize Algorithm: ", word(kVocResizeAlgorithm, s_.imageResizeAlgorithm));
        return true;
    }

    bool listFlips() {
        show("Flip Horizontal: ", number(s_.doImageFlipHorizontal));
        show("Flip Vertical: ", number(s_.doImageFlipVertical));
        return true;
    }

    bool checkColorCorrection() {
        if (s_.doImageColorCorrection != 1) return true;
        show("Brightness: ", number(s_.imageBrightness));
        if (s_.imageBrightness < -100 || s_.imageBrightness > 100) return fail("Invalid brightness value");
        show("Contrast: ", number(s_.imageContrast));
        if (s_.imageContrast < -100 || s_.imageContrast > 100) return fail("Invalid contrast value");
        char gamma[64];
        std::snprintf(gamma, sizeof gamma, "%.2f", static_cast<double>(s_.imageGamma));
        show("Gamma: ", gamma);
        // Written as "not within" so that a gamma that is not a number fails too.
        if (!(s_.imageGamma >= 0.01f && s_.imageGamma <= 9.99f)) return fail("Invalid gamma value");
        show("Invert: ", number(s_.imageInvert));
        return true;
    }

    bool listEffects() {
        show("Greyscale: ", number(s_.doImageGreyscale));
        if (s_.doImageThreshold == 1) show("Image Threshold: ", number(s_.imageThreshold));
        if (s_.doImageDither == 1)
            show("Image Dithering Algorithm: ", word(kVocDitherAlgorithm, s_.imageDitherAlgorithm));
        return true;
    }

    bool listFrame() {
        show("Frame: ", word(kVocFrame, s_.doFrame));
        if (s_.doFrame != 1) return true;
        show("Frame left: ", number(s_.frameSolidLeft));
        show("Frame right: ", number(s_.frameSolidRight));
        show("Frame top: ", number(s_.frameSolidTop));
        show("Frame bottom: ", number(s_.frameSolidBottom));
        show("Frame left color: ", s_.frameSolidLeftColor);
        show("Frame right color: ", s_.frameSolidRightColor);
        show("Frame top color: ", s_.frameSolidTopColor);
        show("Frame bottom color: ", s_.frameSolidBottomColor);
        show("Frame opacity: ", number(s_.frameSolidOpacity));
        return true;
    }

    bool checkWatermark() {
        show("Watermark: ", word(kVocWatermark, s_.doWatermark));
        if (s_.doWatermark == 1) {
            show("Watermark text: ", s_.wmText);
            show("Watermark font: ", s_.wmFont);
            show("Watermark font size: ", number(s_.wmFontSize));
            show("Watermark font leading: ", number(s_.wmFontLeading));
            show("Watermark font color: ", s_.wmFontColor);
            show("Watermark font style: ", word(kVocFontStyle, s_.wmFontStyle));
            show("Watermark font effect: ", word(kVocFontEffect, s_.wmFontEffect));
            show("Watermark text antialiasing: ", number(s_.wmTextAntialiasing));
            show("Watermark text alignment: ", word(kVocTextAlignment, s_.wmTextAlignment));
            show("Watermark text padding: ", number(s_.wmTextPadding));
            show("Watermark text opacity: ", number(s_.wmTextOpacity));
            show("Watermark background color: ", s_.wmBackColor);
            show("Watermark background opacity: ", number(s_.wmBackOpacity));
            show("Watermark boundary: ", word(kVocBoundary, s_.wmTextBoundary));
            show("Watermark position: ", word(kVocPosition, s_.wmTextPosition));
            show("Watermark offset (x/y): ", number(s_.wmTextXOffset) + "/" + number(s_.wmTextYOffset));
            show("Watermark rotation: ", number(s_.wmTextRotation));
            show("Watermark size/mode: ", word(kVocWatermarkSize, s_.wmTextSize));
            if (!loadWatermarkFont(s_)) return fail("Invalid watermark font");
        } else if (s_.doWatermark == 2) {
            show("Watermark image: ", s_.wmImage);
            show("Watermark greyscale: ", number(s_.wmImageGreyscale));
            show("Watermark opacity: ", number(s_.wmImageOpacity));
            show("Watermark boundary: ", word(kVocBoundary, s_.wmImageBoundary));
            show("Watermark position: ", word(kVocPosition, s_.wmImagePosition));
            show("Watermark offset (x/y): ", number(s_.wmImageXOffset) + "/" + number(s_.wmImageYOffset));
            show("Watermark rotation: ", number(s_.wmImageRotation));
            show("Watermark size/mode: ", word(kVocWatermarkSize, s_.wmImageSize));
            if (fileSizeOf(s_.wmImage) <= 0) return fail("Invalid watermark image");
        }
        return true;
    }

    bool listAdvanced() {
        show("Filename Mask: ", s_.filenameMask);
        show("File Timestamp: ", word(kVocFileTimestamp, s_.fileTimestamp));
        if (s_.fileTimestamp == 2) show("Custom Timestamp: ", number(s_.customTimestamp));
        show("Keep Subfolders: ", number(s_.keepSubfolders));
        return true;
    }

    ConversionJob& job_;
    const ConversionSettings& s_;
    const LineSink& print_;
    const bool debug_;
};

// Starts a job with a fresh result count, waits for it and returns its count.
int32_t runCountingJob(JobBody body) {
    {
        std::lock_guard<std::mutex> guard(progressLock());
        workerProgress().resultCount = 0;
    }
    runJobAndWait(body);
    std::lock_guard<std::mutex> guard(progressLock());
    return workerProgress().resultCount;
}

// Fills the InputFileList from the validated input; returns the number added.
int32_t importInput(const ConversionJob& job) {
    if (!job.inputRoot.empty()) return runCountingJob(scanInputFolder);
    const std::string extension = fileExtensionOf(job.inputPath);
    if (extension == "txt" || extension == "lst") return runCountingJob(importListFile);
    const int32_t added = addInputFile(job.inputPath) ? 1 : 0;
    std::lock_guard<std::mutex> guard(progressLock());
    workerProgress().resultCount = added;
    return added;
}

}  // namespace

bool validateBatch(ConversionJob& job, const ConversionSettings& settings, const LineSink& print) {
    return Validation(job, settings, print).run();
}

void deriveRunValues(ConversionJob& job, const ConversionSettings& settings) {
    const OutputFormat* format = findOutputFormat(job.outputExtension);
    const FormatOptions* options = findFormatOptions(job.outputExtension);
    job.formatId = format ? format->formatId : 0;
    job.targetBitDepth = options ? settings.*options->bpp : 0;
    job.saveFlags = saveFlagsFor(settings, job.outputExtension);
    job.autoBitDepth = job.targetBitDepth == 0 ? 1 : 0;
}

void runBatch(bool quiet, const LineSink& print) {
    ConversionJob& job = conversionJob();
    const ConversionSettings& settings = conversionSettings();
    auto status = [&](const char* group, const char* key) {
        if (!quiet) print(languageText(group, key));
    };

    status("General", "Preparing");
    if (!validateBatch(job, settings, print)) return;
    deriveRunValues(job, settings);

    status("General", "Importing");
    const int32_t added = importInput(job);
    if (!quiet) print(fillPlaceholders(languageText("Msg", "Import complete"), std::to_string(added)));
    if (added == 0) {
        print(languageText("Msg", "Conversion is not complete"));
        print(languageText("Msg", "Empty input files"));
        return;
    }

    status("General", "Converting");
    const bool showProgress = !quiet && job.runMode != "DEBUG" && progressLineWanted();
    const int32_t converted = runConversionWithProgress(showProgress, added);
    if (converted > 0) {
        status("Msg", "Conversion complete");
        if (!quiet)
            print(fillPlaceholders(languageText("Msg", "Files converted"), std::to_string(converted),
                                   std::to_string(added)));
    } else {
        print(languageText("Msg", "Conversion is not complete"));
    }
}

void runBatch(bool quiet) { runBatch(quiet, [](const std::string& line) { printLine(line); }); }

}  // namespace pixalto
