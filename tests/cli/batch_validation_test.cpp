// Validation, normalisation and the debug listing of the console's batch run,
// called directly with a settings record, a run record and a line collector.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "cli/batch_run.h"
#include "core/format_catalogue.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;
using Lines = std::vector<std::string>;

class BatchValidation : public ::testing::Test {
protected:
    void SetUp() override {
        job = ConversionJob{};
        applyDefaults(settings, true);
        job.programFolder = programDir.str() + "/";
        fs::create_directory(programDir / "pics");
        fs::create_directory(dataDir / "in");
        fs::create_directory(dataDir / "out");
        writeFile(dataDir / "in" / "a.pcx", "not empty");
        job.inputRoot = (dataDir / "in").string();
        job.outputFolder = (dataDir / "out").string();
    }

    // Runs the checks; returns every line printed.
    Lines validate(bool* ok = nullptr) {
        Lines lines;
        const bool result = validateBatch(job, settings, [&](const std::string& l) { lines.push_back(l); });
        if (ok) *ok = result;
        return lines;
    }

    // Runs the checks without debug output and returns the single error line ("" when valid).
    std::string errorOf() {
        bool ok = false;
        const Lines lines = validate(&ok);
        EXPECT_EQ(ok, lines.empty()) << "a failed check prints exactly its error line";
        EXPECT_LE(lines.size(), 1u);
        return lines.empty() ? std::string() : lines.front();
    }

    TempDir programDir;
    TempDir dataDir;
    ConversionSettings settings;
    ConversionJob job;
};

TEST_F(BatchValidation, InputFileMustBeANonEmptyFile) {
    fs::create_directory(dataDir / "my.pics");
    writeFile(dataDir / "empty.pcx", "");
    for (const char* name : {"missing.pcx", "my.pics", "empty.pcx"}) {
        job.inputRoot = (dataDir / name).string();
        job.inputPath.clear();
        EXPECT_EQ(errorOf(), "Error: Invalid input file") << name;
        EXPECT_EQ(job.inputRoot, "") << "a named file clears the input root";
        EXPECT_EQ(job.inputPath, (dataDir / name).string());
    }
}

TEST_F(BatchValidation, InputFileKeepsItsPathAndFillsTheOutputFromItsFolder) {
    job.inputRoot = (dataDir / "in" / "a.pcx").string();
    job.outputFolder.clear();
    EXPECT_EQ(errorOf(), "");
    EXPECT_EQ(job.inputPath, (dataDir / "in" / "a.pcx").string());
    EXPECT_EQ(job.inputRoot, "");
    EXPECT_EQ(job.outputFolder, (dataDir / "in").string() + "/");
}

TEST_F(BatchValidation, BareInputFileNameWritesIntoTheProgramFolder) {
    writeFile(programDir / "b.pcx", "data");
    const fs::path cwd = fs::current_path();
    fs::current_path(programDir.path());  // the file itself is looked for in the current folder
    job.inputRoot = "b.pcx";
    job.outputFolder.clear();
    const std::string error = errorOf();
    fs::current_path(cwd);
    EXPECT_EQ(error, "");
    EXPECT_EQ(job.inputPath, "b.pcx");
    EXPECT_EQ(job.outputFolder, job.programFolder);
}

TEST_F(BatchValidation, FolderErrors) {
    struct Case {
        const char* input;
        const char* output;
        const char* error;
    };
    const Case cases[] = {
        {"../pics", nullptr, "Error: Incorrect input folder"},
        {"..", nullptr, "Error: Incorrect input folder"},
        {"nosuch", nullptr, "Error: Invalid input folder"},
        {nullptr, "../out", "Error: Incorrect output folder"},
        {nullptr, "nosuch", "Error: Invalid output folder"},
        {nullptr, "/nonexistent-pixalto-folder/x", "Error: Invalid output folder"},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.input) job.inputRoot = c.input;
        if (c.output) job.outputFolder = c.output;
        EXPECT_EQ(errorOf(), c.error) << (c.input ? c.input : c.output);
    }
    EXPECT_FALSE(fs::exists(programDir / "nosuch")) << "the output folder is never created";
    EXPECT_FALSE(fs::exists("/nonexistent-pixalto-folder"));
}

TEST_F(BatchValidation, RelativeFoldersAreBelowTheProgramFolder) {
    const std::string pics = job.programFolder + "pics/";
    for (const char* input : {"pics", "./pics", "pics/"}) {
        job.inputRoot = input;
        job.outputFolder = "./pics";
        EXPECT_EQ(errorOf(), "") << input;
        EXPECT_EQ(job.inputRoot, pics) << input;
        EXPECT_EQ(job.outputFolder, pics) << input;
    }
}

TEST_F(BatchValidation, AbsoluteFolderGetsItsTrailingSeparatorAndServesAsOutput) {
    job.outputFolder.clear();
    EXPECT_EQ(errorOf(), "");
    EXPECT_EQ(job.inputRoot, (dataDir / "in").string() + "/");
    EXPECT_EQ(job.outputFolder, job.inputRoot);
}

TEST_F(BatchValidation, ConversionTypeIsMatchedExactlyAndDefaultsToTheFirstFormat) {
    job.outputExtension = "JPG";
    EXPECT_EQ(errorOf(), "Error: Invalid conversion type");
    SetUp();
    job.outputExtension = "jpg";
    EXPECT_EQ(errorOf(), "");
    SetUp();
    job.outputExtension.clear();
    job.runInputFormat.clear();
    EXPECT_EQ(errorOf(), "");
    EXPECT_EQ(job.outputExtension, "bmp");
    EXPECT_EQ(job.runInputFormat, "pcx");
}

// The bit-depth field of each format in list order, for the table-wide checks.
int32_t& bppField(ConversionSettings& s, const std::string& ext) {
    static const std::pair<const char*, int32_t ConversionSettings::*> fields[] = {
        {"bmp", &ConversionSettings::bmpBpp},   {"dds", &ConversionSettings::ddsBpp},
        {"exr", &ConversionSettings::exrBpp},   {"gif", &ConversionSettings::gifBpp},
        {"hdr", &ConversionSettings::hdrBpp},   {"ico", &ConversionSettings::icoBpp},
        {"j2k", &ConversionSettings::j2kBpp},   {"jng", &ConversionSettings::jngBpp},
        {"jp2", &ConversionSettings::jp2Bpp},   {"jpg", &ConversionSettings::jpgBpp},
        {"jxr", &ConversionSettings::jxrBpp},   {"pbm", &ConversionSettings::pbmBpp},
        {"pcx", &ConversionSettings::pcxBpp},   {"pfm", &ConversionSettings::pfmBpp},
        {"pgm", &ConversionSettings::pgmBpp},   {"png", &ConversionSettings::pngBpp},
        {"ppm", &ConversionSettings::ppmBpp},   {"psd", &ConversionSettings::psdBpp},
        {"tga", &ConversionSettings::tgaBpp},   {"tiff", &ConversionSettings::tiffBpp},
        {"wbmp", &ConversionSettings::wbmpBpp}, {"webp", &ConversionSettings::webpBpp},
        {"xpm", &ConversionSettings::xpmBpp}};
    for (const auto& [name, field] : fields)
        if (ext == name) return s.*field;
    ADD_FAILURE() << "no bit-depth field for " << ext;
    static int32_t none = 0;
    return none;
}

TEST_F(BatchValidation, EveryFormatChecksOnlyItsOwnBitDepth) {
    for (const std::string& ext : outputExtensions()) {
        // An invalid depth for every format but the chosen one never matters.
        SetUp();
        for (const std::string& other : outputExtensions()) bppField(settings, other) = 7;
        job.outputExtension = ext;
        EXPECT_EQ(errorOf(), "Error: Invalid " + ext + "-bpp value");
        // Each allowed depth and 0 pass.
        std::vector<int> depths = allowedDepthList(ext);
        depths.push_back(0);
        for (int depth : depths) {
            SetUp();
            job.outputExtension = ext;
            bppField(settings, ext) = depth;
            EXPECT_EQ(errorOf(), "") << ext << " " << depth;
        }
    }
    SetUp();
    settings.bmpBpp = 16;
    EXPECT_EQ(errorOf(), "") << "16 is one of BMP's depths";
    SetUp();
    job.outputExtension = "png";
    settings.pngBpp = 16;
    EXPECT_EQ(errorOf(), "Error: Invalid png-bpp value");
}

TEST_F(BatchValidation, QualityRangesApplyToTheirOwnFormatOnly) {
    struct Case {
        const char* ext;
        int32_t jpg;
        int32_t webp;
        const char* error;
    };
    const Case cases[] = {
        {"jpg", 0, 100, "Error: Invalid jpg-quality value"},
        {"jpg", 101, 100, "Error: Invalid jpg-quality value"},
        {"jpg", 1, 0, ""},
        {"jpg", 100, 0, ""},
        {"png", 0, 101, ""},
        {"webp", 95, 0, "Error: Invalid webp-quality value"},
        {"webp", 0, 101, "Error: Invalid webp-quality value"},
        {"webp", 0, 1, ""},
    };
    for (const Case& c : cases) {
        SetUp();
        job.outputExtension = c.ext;
        settings.jpgQuality = c.jpg;
        settings.webpQuality = c.webp;
        EXPECT_EQ(errorOf(), c.error) << c.ext << " " << c.jpg << " " << c.webp;
    }
}

TEST_F(BatchValidation, TransformAndAdjustmentRanges) {
    struct Case {
        const char* what;
        void (*set)(ConversionSettings&);
        const char* error;
    };
    const Case cases[] = {
        {"width 0 without resizing", [](ConversionSettings& s) { s.imageWidth = 0; }, ""},
        {"width 0", [](ConversionSettings& s) { s.doImageResize = 1, s.imageHeight = 10; }, "Error: Invalid width value"},
        {"height 0", [](ConversionSettings& s) { s.doImageResize = 1, s.imageWidth = 10; }, "Error: Invalid height value"},
        {"both 0", [](ConversionSettings& s) { s.doImageResize = 1; }, "Error: Invalid width value"},
        {"negative sizes", [](ConversionSettings& s) { s.doImageResize = 1, s.imageWidth = -5, s.imageHeight = -1; }, ""},
        {"brightness -101", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageBrightness = -101; }, "Error: Invalid brightness value"},
        {"brightness 101", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageBrightness = 101; }, "Error: Invalid brightness value"},
        {"brightness off", [](ConversionSettings& s) { s.imageBrightness = 500; }, ""},
        {"brightness limits", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageBrightness = -100, s.imageContrast = 100; }, ""},
        {"contrast -101", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageContrast = -101; }, "Error: Invalid contrast value"},
        {"contrast 101", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageContrast = 101; }, "Error: Invalid contrast value"},
        {"gamma 10", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageGamma = 10.0f; }, "Error: Invalid gamma value"},
        {"gamma 0", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageGamma = 0.0f; }, "Error: Invalid gamma value"},
        {"gamma 0.0099", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageGamma = 0.0099f; }, "Error: Invalid gamma value"},
        {"gamma nan", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageGamma = std::numeric_limits<float>::quiet_NaN(); }, "Error: Invalid gamma value"},
        {"gamma 9.99", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageGamma = 9.99f; }, ""},
        {"gamma 0.01", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageGamma = 0.01f; }, ""},
        {"brightness before gamma", [](ConversionSettings& s) { s.doImageColorCorrection = 1, s.imageBrightness = 200, s.imageGamma = 20.0f; }, "Error: Invalid brightness value"},
        {"watermark picture missing", [](ConversionSettings& s) { s.doWatermark = 2, s.wmImage = "/nonexistent-pixalto-folder/w.png"; }, "Error: Invalid watermark image"},
        {"watermark picture empty path", [](ConversionSettings& s) { s.doWatermark = 2, s.wmImage = ""; }, "Error: Invalid watermark image"},
        {"watermark picture off", [](ConversionSettings& s) { s.wmImage = "/nonexistent-pixalto-folder/w.png"; }, ""},
    };
    for (const Case& c : cases) {
        SetUp();
        c.set(settings);
        EXPECT_EQ(errorOf(), c.error) << c.what;
    }
}

TEST_F(BatchValidation, WatermarkPictureMustBeANonEmptyFile) {
    settings.doWatermark = 2;
    settings.wmImage = (dataDir / "w.png").string();
    writeFile(dataDir / "w.png", "");
    EXPECT_EQ(errorOf(), "Error: Invalid watermark image");
    SetUp();
    settings.doWatermark = 2;
    settings.wmImage = (dataDir / "w.png").string();
    writeFile(dataDir / "w.png", "x");
    EXPECT_EQ(errorOf(), "");
}

TEST_F(BatchValidation, WatermarkFontThatCannotBeLoaded) {
    settings.doWatermark = 1;
    settings.wmFont = "Pixalto No Such Face Qzx";
    EXPECT_EQ(errorOf(), "Error: Invalid watermark font");
    SetUp();
    settings.doWatermark = 1;
    settings.wmFont = "Arial";  // Liberation Sans stands in for it
    EXPECT_EQ(errorOf(), "");
}

TEST_F(BatchValidation, OnlyTheFirstProblemIsReported) {
    job.inputRoot = "../x";
    job.outputFolder = "nosuch";
    job.outputExtension = "JPG";
    settings.doImageResize = 1;
    EXPECT_EQ(errorOf(), "Error: Incorrect input folder");
}

TEST_F(BatchValidation, DebugListingWithDefaultsForBmp) {
    job.runMode = "DEBUG";
    const std::string input = job.inputRoot;
    bool ok = false;
    const Lines lines = validate(&ok);
    EXPECT_TRUE(ok);
    const Lines expected = {
        "Input: " + input,
        "Output: " + (dataDir / "out").string(),
        "Conversion: bmp",
        "BMP BPP: 0",
        "BMP Compression: none",
        "BMP Color Table: auto",
        "Flip Horizontal: 0",
        "Flip Vertical: 0",
        "Greyscale: 0",
        "Frame: none",
        "Watermark: none",
        "Filename Mask: %filename%.%ext%",
        "File Timestamp: current",
        "Keep Subfolders: 1",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(BatchValidation, DebugListingWithEveryGroupOn) {
    job.runMode = "DEBUG";
    job.outputExtension = "tiff";
    job.outputFolder.clear();
    settings.tiffBpp = 24;
    settings.tiffCompression = 4;
    settings.tiffColorMode = 1;
    settings.doImageRotation = 1;
    settings.imageRotationType = 1;
    settings.imageRotation = -90;
    settings.imageRotationBackColor = "FF0000";
    settings.doImageResize = 1;
    settings.imageWidth = 50;
    settings.imageWidthUnit = 1;
    settings.imageHeight = 20;
    settings.keepAspectRatio = 1;
    settings.imageResizeType = 1;
    settings.imageResizeAlgorithm = 5;
    settings.doImageFlipVertical = 1;
    settings.doImageColorCorrection = 1;
    settings.imageBrightness = -7;
    settings.imageContrast = 12;
    settings.imageGamma = 1.5f;
    settings.imageInvert = 1;
    settings.doImageGreyscale = 1;
    settings.doImageThreshold = 1;
    settings.imageThreshold = 128;
    settings.doImageDither = 1;
    settings.imageDitherAlgorithm = 3;
    settings.doFrame = 1;
    settings.frameSolidLeft = 1;
    settings.frameSolidRight = 2;
    settings.frameSolidTop = 3;
    settings.frameSolidBottom = 4;
    settings.frameSolidLeftColor = "111111";
    settings.frameSolidRightColor = "222222";
    settings.frameSolidTopColor = "333333";
    settings.frameSolidBottomColor = "444444";
    settings.frameSolidOpacity = 200;
    settings.doWatermark = 2;
    settings.wmImage = (dataDir / "in" / "a.pcx").string();
    settings.wmImageGreyscale = 1;
    settings.wmImageOpacity = 128;
    settings.wmImageBoundary = 1;
    settings.wmImagePosition = 4;
    settings.wmImageXOffset = -3;
    settings.wmImageYOffset = 7;
    settings.wmImageRotation = 45;
    settings.filenameMask = "%filename%_%n%.%ext%";
    settings.fileTimestamp = 2;
    settings.customTimestamp = 1700000000;
    settings.keepSubfolders = 0;

    const std::string in = (dataDir / "in").string();
    bool ok = false;
    const Lines lines = validate(&ok);
    EXPECT_TRUE(ok);
    const Lines expected = {
        "Input: " + in,
        "Output: " + in + "/",
        "Conversion: tiff",
        "TIFF BPP: 24",
        "TIFF Compression: deflate",
        "TIFF Color Mode: cmyk",
        "Image Rotation Type: advanced",
        "Image Rotation: -90",
        "Image Rotation Back Color: FF0000",
        "Width: 50 percent",
        "Height: 20 pixels",
        "Keep Aspect Ratio: 1",
        "Image Resize Type: largeimages",
        "Image Resize Algorithm: lanczos",
        "Flip Horizontal: 0",
        "Flip Vertical: 1",
        "Brightness: -7",
        "Contrast: 12",
        "Gamma: 1.50",
        "Invert: 1",
        "Greyscale: 1",
        "Image Threshold: 128",
        "Image Dithering Algorithm: bayer16",
        "Frame: solid",
        "Frame left: 1",
        "Frame right: 2",
        "Frame top: 3",
        "Frame bottom: 4",
        "Frame left color: 111111",
        "Frame right color: 222222",
        "Frame top color: 333333",
        "Frame bottom color: 444444",
        "Frame opacity: 200",
        "Watermark: image",
        "Watermark image: " + settings.wmImage,
        "Watermark greyscale: 1",
        "Watermark opacity: 128",
        "Watermark boundary: frame",
        "Watermark position: middlecenter",
        "Watermark offset (x/y): -3/7",
        "Watermark rotation: 45",
        "Watermark size/mode: fixed",
        "Filename Mask: %filename%_%n%.%ext%",
        "File Timestamp: custom",
        "Custom Timestamp: 1700000000",
        "Keep Subfolders: 0",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(BatchValidation, DebugListingOfATextWatermark) {
    job.runMode = "DEBUG";
    settings.doWatermark = 1;
    settings.wmText = "Hello %filename%";
    settings.wmFont = "DejaVu Sans";
    settings.wmFontSize = 20;
    settings.wmFontLeading = 2;
    settings.wmFontColor = "FF8000";
    settings.wmFontStyle = 3;
    settings.wmFontEffect = 2;
    settings.wmTextAntialiasing = 1;
    settings.wmTextAlignment = 1;
    settings.wmTextPadding = 4;
    settings.wmTextOpacity = 100;
    settings.wmBackColor = "0000FF";
    settings.wmBackOpacity = 50;
    settings.wmTextBoundary = 1;
    settings.wmTextPosition = 0;
    settings.wmTextXOffset = 5;
    settings.wmTextYOffset = -6;
    settings.wmTextRotation = 30;
    Lines lines = validate();
    const Lines expected = {
        "Watermark: text",
        "Watermark text: Hello %filename%",
        "Watermark font: DejaVu Sans",
        "Watermark font size: 20",
        "Watermark font leading: 2",
        "Watermark font color: FF8000",
        "Watermark font style: bolditalic",
        "Watermark font effect: strikethrought",
        "Watermark text antialiasing: 1",
        "Watermark text alignment: center",
        "Watermark text padding: 4",
        "Watermark text opacity: 100",
        "Watermark background color: 0000FF",
        "Watermark background opacity: 50",
        "Watermark boundary: frame",
        "Watermark position: topleft",
        "Watermark offset (x/y): 5/-6",
        "Watermark rotation: 30",
        "Watermark size/mode: fixed",
        "Filename Mask: %filename%.%ext%",
    };
    const auto first = std::find(lines.begin(), lines.end(), expected.front());
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(Lines(first, std::min(lines.end(), first + static_cast<long>(expected.size()))), expected);
}

TEST_F(BatchValidation, DebugLinesOfEachFormat) {
    settings.pngCompression = 1;
    settings.pngInterlaced = 1;
    settings.exrCompression = 2;
    settings.tgaCompression = 1;
    settings.bmpCompression = 1;
    settings.bmpColorTable = 1;
    settings.jpgQuality = 80;
    settings.jpgChroma = 2;
    settings.jpgSaveAs = 3;
    settings.webpQuality = 75;
    settings.gifBpp = 8;
    const std::pair<const char*, Lines> cases[] = {
        {"bmp", {"BMP BPP: 0", "BMP Compression: rle", "BMP Color Table: exact"}},
        {"dds", {"DDS BPP: 0"}},
        {"exr", {"EXR BPP: 0", "EXR Compression: piz"}},
        {"gif", {"GIF BPP: 8"}},
        {"jpg", {"JPG BPP: 0", "JPG Quality: 80", "JPG Chroma Subsampling: medium", "JPG Save As: progressive"}},
        {"png", {"PNG BPP: 0", "PNG Compression: zlib1", "PNG Interlaced: 1"}},
        {"tga", {"TGA BPP: 0", "TGA Compression: rle"}},
        {"wbmp", {"WBMP BPP: 0"}},
        {"webp", {"WEBP BPP: 0", "WEBP Quality: 75"}},
        {"xpm", {"XPM BPP: 0"}},
    };
    for (const auto& [ext, formatLines] : cases) {
        job = ConversionJob{};
        job.programFolder = programDir.str() + "/";
        job.inputRoot = (dataDir / "in").string();
        job.outputExtension = ext;
        job.runMode = "DEBUG";
        const Lines lines = validate();
        ASSERT_GE(lines.size(), 3 + formatLines.size()) << ext;
        EXPECT_EQ(lines[2], std::string("Conversion: ") + ext);
        EXPECT_EQ(Lines(lines.begin() + 3, lines.begin() + 3 + static_cast<long>(formatLines.size())), formatLines)
            << ext;
        EXPECT_EQ(lines[3 + formatLines.size()], "Flip Horizontal: 0") << ext;
    }
}

TEST_F(BatchValidation, DebugListingStopsAtTheFirstError) {
    job.runMode = "DEBUG";
    settings.doImageResize = 1;
    settings.imageWidth = 10;
    bool ok = true;
    const Lines lines = validate(&ok);
    EXPECT_FALSE(ok);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"Width: 10 pixels", "Height: 0 pixels", "Error: Invalid height value"}));

    SetUp();
    job.runMode = "DEBUG";
    job.outputExtension = "png";
    settings.pngBpp = 2;
    const Lines pngLines = validate();
    EXPECT_EQ(pngLines.back(), "Error: Invalid png-bpp value");
    EXPECT_EQ(pngLines.size(), 3u + 3 + 1) << "input, output, conversion, three png lines, the error";
}

TEST(BatchDerivedValues, ComeFromTheChosenFormat) {
    struct Case {
        const char* ext;
        void (*set)(ConversionSettings&);
        int formatId;
        int targetBitDepth;
        int saveFlags;
    };
    const Case cases[] = {
        {"jpg", [](ConversionSettings& s) { s.jpgQuality = 80, s.jpgChroma = 2, s.jpgSaveAs = 3; }, 2, 0, 0x6050},
        {"png", [](ConversionSettings& s) { s.pngBpp = 8, s.pngCompression = 3, s.pngInterlaced = 1; }, 13, 8, 0x209},
        {"pcx", [](ConversionSettings& s) { s.pcxBpp = 24, s.jpgBpp = 8; }, 0x0428, 24, 0},
        {"tiff", [](ConversionSettings& s) { s.tiffCompression = 4, s.tiffColorMode = 1, s.pngBpp = 8; }, 18, 0,
         0x200 | 1},
    };
    for (const Case& c : cases) {
        ConversionSettings settings;
        applyDefaults(settings, true);
        c.set(settings);
        ConversionJob job;
        job.outputExtension = c.ext;
        deriveRunValues(job, settings);
        EXPECT_EQ(job.formatId, c.formatId) << c.ext;
        EXPECT_EQ(job.targetBitDepth, c.targetBitDepth) << c.ext;
        EXPECT_EQ(job.autoBitDepth, c.targetBitDepth == 0 ? 1 : 0) << c.ext;
        EXPECT_EQ(job.saveFlags, c.saveFlags) << c.ext;
    }
}

}  // namespace
}  // namespace pixalto
