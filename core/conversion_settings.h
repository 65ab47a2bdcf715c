#pragma once
// The one record of every conversion option, and the record of the current run.
#include <cstdint>
#include <string>

namespace pixalto {

struct ConversionSettings {
    // Input
    std::string inputFormat = "pcx";
    int32_t ddsLoadAs = 0;
    int32_t gifFrameLoading = 0;
    int32_t icoFrameLoading = 0;
    int32_t tiffFrameLoading = 0;
    int32_t psdColorMode = 0;
    int32_t rawLoadAs = 0;
    int32_t rawHeaderSize = 0;
    int32_t rawImageWidth = 0;
    int32_t rawImageHeight = 0;
    int32_t rawToneMapping = 2;

    // Output
    std::string outputFormat = "bmp";
    int32_t bmpBpp = 0;
    int32_t bmpCompression = 0;
    int32_t bmpColorTable = 0;
    int32_t ddsBpp = 0;
    int32_t exrBpp = 0;
    int32_t exrCompression = 0;
    int32_t gifBpp = 0;
    int32_t hdrBpp = 0;
    int32_t icoBpp = 0;
    int32_t j2kBpp = 0;
    int32_t jngBpp = 0;
    int32_t jp2Bpp = 0;
    int32_t jpgBpp = 0;
    int32_t jpgQuality = 95;
    int32_t jpgChroma = 0;
    int32_t jpgSaveAs = 0;
    int32_t jxrBpp = 0;
    int32_t pbmBpp = 0;
    int32_t pcxBpp = 0;
    int32_t pfmBpp = 0;
    int32_t pgmBpp = 0;
    int32_t pngBpp = 0;
    int32_t pngCompression = 0;
    int8_t pngInterlaced = 0;
    int32_t ppmBpp = 0;
    int32_t psdBpp = 0;
    int32_t tgaBpp = 0;
    int32_t tgaCompression = 0;
    int32_t tiffBpp = 0;
    int32_t tiffCompression = 0;
    int32_t tiffColorMode = 0;
    int32_t wbmpBpp = 0;
    int32_t webpBpp = 0;
    int32_t webpQuality = 100;
    int32_t xpmBpp = 0;

    // Transform
    int8_t doImageRotation = 0;
    int8_t imageRotationType = 0;
    int32_t imageRotation = 0;
    std::string imageRotationBackColor = "000000";
    int8_t doImageResize = 0;
    int32_t imageWidth = 0;
    int8_t imageWidthUnit = 0;
    int32_t imageHeight = 0;
    int8_t imageHeightUnit = 0;
    int8_t keepAspectRatio = 0;
    int8_t imageResizeType = 0;
    int8_t imageResizeAlgorithm = 3;
    int8_t doImageFlipHorizontal = 0;
    int8_t doImageFlipVertical = 0;

    // Adjustment
    int8_t doImageColorCorrection = 0;
    int32_t imageBrightness = 0;
    int32_t imageContrast = 0;
    float imageGamma = 1.0f;
    int8_t imageInvert = 0;
    int8_t doImageGreyscale = 0;
    int8_t doImageThreshold = 0;
    int32_t imageThreshold = 0;
    int8_t doImageDither = 0;
    int8_t imageDitherAlgorithm = 0;

    // Frame
    int8_t doFrame = 0;
    int32_t frameSolidLeft = 0;
    int32_t frameSolidRight = 0;
    int32_t frameSolidTop = 0;
    int32_t frameSolidBottom = 0;
    std::string frameSolidLeftColor = "000000";
    std::string frameSolidRightColor = "000000";
    std::string frameSolidTopColor = "000000";
    std::string frameSolidBottomColor = "000000";
    int32_t frameSolidOpacity = 255;

    // Watermark
    int8_t doWatermark = 0;
    std::string wmText;
    std::string wmFonts = "Arial,Tahoma,Verdana";
    std::string wmFont = "Arial";
    int32_t wmFontSize = 14;
    int32_t wmFontLeading = 0;
    std::string wmFontColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
    std::string wmFontColor = "FFFFFF";
    int8_t wmFontStyle = 0;
    int8_t wmFontEffect = 0;
    int8_t wmTextAntialiasing = 0;
    int8_t wmTextAlignment = 0;
    int32_t wmTextPadding = 0;
    int32_t wmTextOpacity = 255;
    std::string wmBackColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
    std::string wmBackColor = "000000";
    int32_t wmBackOpacity = 1;
    int8_t wmTextBoundary = 0;
    int8_t wmTextPosition = 8;
    int32_t wmTextXOffset = 10;
    int32_t wmTextYOffset = 10;
    int32_t wmTextRotation = 0;
    int8_t wmTextSize = 0;
    int32_t wmTextScale = 10;
    std::string wmImage;
    int8_t wmImageGreyscale = 0;
    int32_t wmImageOpacity = 255;
    int8_t wmImageBoundary = 0;
    int8_t wmImagePosition = 8;
    int32_t wmImageXOffset = 10;
    int32_t wmImageYOffset = 10;
    int32_t wmImageRotation = 0;
    int8_t wmImageSize = 0;
    int32_t wmImageScale = 10;

    // Advanced
    std::string filenameMask = "%filename%.%ext%";
    int8_t fileTimestamp = 0;
    int32_t customTimestamp = 0;
    int8_t outFoldersHistory = 1;
    int8_t outFoldersNumber = 5;
    int8_t keepSubfolders = 1;
};

// The current run's state. Never saved.
struct ConversionJob {
    std::string programFolder;
    std::string projectName = "untitled.pxq";
    std::string inputPath;
    std::string inputRoot;
    std::string relativeFolder;
    std::string outputPath;
    std::string tempPath;
    std::string outputFolder;
    int32_t randomNumber = 1;
    int32_t fileCounter = 1;
    std::string runInputFormat;
    int32_t formatId = 0;
    std::string outputExtension;
    int32_t targetBitDepth = 0;
    int32_t saveFlags = 0;
    int8_t autoBitDepth = 0;
    int8_t consoleRun = 0;
    std::string runMode;

    // Per-file fields of the image pipeline.
    int32_t sourceBitDepth = 0;
    int32_t resultWidth = 0;
    int32_t resultHeight = 0;
    int32_t frameNumber = 0;
};

// The maker's one-line rights notice: default watermark text and banner line.
inline constexpr const char* kRightsNotice = "Copyright \xC2\xA9 2026 Corvane. All rights reserved.";
inline constexpr const char* kProductTitle = "Pixalto 2.9";
inline constexpr const char* kProductVersion = "2.9";

// Sets every conversion field to its default. The console flavour turns off
// keepAspectRatio; the desktop flavour turns it on. customTimestamp becomes
// the moment of the call (a local date value).
void applyDefaults(ConversionSettings& settings, bool consoleFlavour);

// Font attributes of the text watermark.
struct FontAttributes {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontAttributes&) const = default;
};
FontAttributes fontAttributesFor(int wmFontStyle, int wmFontEffect);

}  // namespace pixalto
