#include "cli/setting_options.h"

#include <sys/stat.h>

#include <set>

#include "config/ini_file.h"
#include "core/keywords.h"
#include "platform/files.h"

namespace pixalto {

namespace {

using S = ConversionSettings;
using GroupFlag = int8_t S::*;

SettingOption keyword(std::string_view name, int vocabulary, SettingField field, GroupFlag group = nullptr) {
    return {name, OptionKind::Keyword, vocabulary, field, group, 1, 0, {}, false, false};
}
SettingOption number(std::string_view name, int32_t S::*field, GroupFlag group = nullptr) {
    return {name, OptionKind::Number, 0, field, group, 1, 0, {}, false, false};
}
SettingOption decimal(std::string_view name, float S::*field, GroupFlag group = nullptr) {
    return {name, OptionKind::Decimal, 0, field, group, 1, 0, {}, false, false};
}
SettingOption text(std::string_view name, std::string S::*field, GroupFlag group = nullptr, int8_t groupValue = 1) {
    return {name, OptionKind::Text, 0, field, group, groupValue, 0, {}, false, false};
}
SettingOption toggle(std::string_view name, int8_t S::*field, int8_t value = 1, GroupFlag group = nullptr) {
    return {name, OptionKind::Switch, 0, field, group, 1, value, {}, false, false};
}
SettingOption profileKeyed(SettingOption option, std::string_view profileKey) {
    option.profileKey = profileKey;
    return option;
}
// A size of 0 does not ask for resizing: it stays unchecked unless the other
// size switches resizing on.
SettingOption sizeOption(std::string_view name, int32_t S::*field) {
    SettingOption option = number(name, field, &S::doImageResize);
    option.groupNeedsNonZero = true;
    return option;
}
SettingOption profileUnquoted(SettingOption option) {
    option.profileDropsQuotes = true;
    return option;
}

std::vector<SettingOption> buildTable() {
    return {
        // Input
        keyword("--DDS-LOAD-AS", kVocDdsLoadAs, &S::ddsLoadAs),
        keyword("--GIF-FRAME-LOADING", kVocFrameLoading, &S::gifFrameLoading),
        keyword("--ICO-FRAME-LOADING", kVocFrameLoading, &S::icoFrameLoading),
        keyword("--TIFF-FRAME-LOADING", kVocFrameLoading, &S::tiffFrameLoading),
        keyword("--PSD-COLOR-MODE", kVocColorMode, &S::psdColorMode),
        keyword("--RAW-LOAD-AS", kVocRawLoadAs, &S::rawLoadAs),
        number("--RAW-HEADER-SIZE", &S::rawHeaderSize),
        number("--RAW-WIDTH", &S::rawImageWidth),
        number("--RAW-HEIGHT", &S::rawImageHeight),
        keyword("--RAW-TONE-MAPPING", kVocRawToneMapping, &S::rawToneMapping),

        // Output: bit depths
        number("--BMP-BPP", &S::bmpBpp),
        number("--DDS-BPP", &S::ddsBpp),
        number("--EXR-BPP", &S::exrBpp),
        number("--GIF-BPP", &S::gifBpp),
        number("--HDR-BPP", &S::hdrBpp),
        number("--ICO-BPP", &S::icoBpp),
        number("--J2K-BPP", &S::j2kBpp),
        number("--JNG-BPP", &S::jngBpp),
        number("--JP2-BPP", &S::jp2Bpp),
        number("--JPG-BPP", &S::jpgBpp),
        number("--JXR-BPP", &S::jxrBpp),
        number("--PBM-BPP", &S::pbmBpp),
        number("--PCX-BPP", &S::pcxBpp),
        number("--PFM-BPP", &S::pfmBpp),
        number("--PGM-BPP", &S::pgmBpp),
        number("--PNG-BPP", &S::pngBpp),
        number("--PPM-BPP", &S::ppmBpp),
        number("--PSD-BPP", &S::psdBpp),
        number("--TGA-BPP", &S::tgaBpp),
        number("--TIFF-BPP", &S::tiffBpp),
        number("--WBMP-BPP", &S::wbmpBpp),
        number("--WEBP-BPP", &S::webpBpp),
        number("--XPM-BPP", &S::xpmBpp),

        // Output: the other format options
        keyword("--BMP-COMPRESSION", kVocCompression, &S::bmpCompression),
        keyword("--BMP-COLOR-TABLE", kVocBmpColorTable, &S::bmpColorTable),
        keyword("--EXR-COMPRESSION", kVocCompression, &S::exrCompression),
        number("--JPG-QUALITY", &S::jpgQuality),
        keyword("--JPG-CHROMA", kVocJpgChroma, &S::jpgChroma),
        keyword("--JPG-SAVE-AS", kVocJpgSaveAs, &S::jpgSaveAs),
        keyword("--PNG-COMPRESSION", kVocCompression, &S::pngCompression),
        toggle("--PNG-INTERLACED", &S::pngInterlaced),
        keyword("--TGA-COMPRESSION", kVocCompression, &S::tgaCompression),
        keyword("--TIFF-COMPRESSION", kVocCompression, &S::tiffCompression),
        keyword("--TIFF-COLOR-MODE", kVocColorMode, &S::tiffColorMode),
        number("--WEBP-QUALITY", &S::webpQuality),

        // Transform and adjustment
        keyword("--ROTATION-TYPE", kVocRotationType, &S::imageRotationType),
        number("--ROTATION", &S::imageRotation, &S::doImageRotation),
        text("--ROTATION-BACK-COLOR", &S::imageRotationBackColor),
        sizeOption("--WIDTH", &S::imageWidth),
        keyword("--WIDTH-UNIT", kVocSizeUnit, &S::imageWidthUnit),
        sizeOption("--HEIGHT", &S::imageHeight),
        keyword("--HEIGHT-UNIT", kVocSizeUnit, &S::imageHeightUnit),
        toggle("--KEEP-ASPECT-RATIO", &S::keepAspectRatio),
        keyword("--RESIZE-TYPE", kVocResizeType, &S::imageResizeType),
        keyword("--RESIZE-ALGORITHM", kVocResizeAlgorithm, &S::imageResizeAlgorithm),
        toggle("--FLIP-HORIZONTAL", &S::doImageFlipHorizontal),
        toggle("--FLIP-VERTICAL", &S::doImageFlipVertical),
        number("--BRIGHTNESS", &S::imageBrightness, &S::doImageColorCorrection),
        number("--CONTRAST", &S::imageContrast, &S::doImageColorCorrection),
        decimal("--GAMMA", &S::imageGamma, &S::doImageColorCorrection),
        toggle("--INVERT", &S::imageInvert, 1, &S::doImageColorCorrection),
        toggle("--GREYSCALE", &S::doImageGreyscale),
        number("--THRESHOLD", &S::imageThreshold, &S::doImageThreshold),
        keyword("--DITHER", kVocDitherAlgorithm, &S::imageDitherAlgorithm, &S::doImageDither),

        // Frame
        number("--FR-SOLID-LEFT", &S::frameSolidLeft, &S::doFrame),
        number("--FR-SOLID-RIGHT", &S::frameSolidRight, &S::doFrame),
        number("--FR-SOLID-TOP", &S::frameSolidTop, &S::doFrame),
        number("--FR-SOLID-BOTTOM", &S::frameSolidBottom, &S::doFrame),
        text("--FR-SOLID-LEFT-COLOR", &S::frameSolidLeftColor),
        text("--FR-SOLID-RIGHT-COLOR", &S::frameSolidRightColor),
        text("--FR-SOLID-TOP-COLOR", &S::frameSolidTopColor),
        text("--FR-SOLID-BOTTOM-COLOR", &S::frameSolidBottomColor),
        profileKeyed(number("--FR-SOLID-OPACITY", &S::frameSolidOpacity), "--WM-SOLID-OPACITY"),

        // Watermark: the text and the picture choose the kind; the last one given wins
        text("--WM-TEXT", &S::wmText, &S::doWatermark, 1),
        text("--WM-FONT", &S::wmFont),
        number("--WM-FONT-SIZE", &S::wmFontSize),
        number("--WM-FONT-LEADING", &S::wmFontLeading),
        text("--WM-FONT-COLOR", &S::wmFontColor),
        keyword("--WM-FONT-STYLE", kVocFontStyle, &S::wmFontStyle),
        keyword("--WM-FONT-EFFECT", kVocFontEffect, &S::wmFontEffect),
        toggle("--WM-TEXT-ANTIALIASING", &S::wmTextAntialiasing),
        keyword("--WM-TEXT-ALIGNMENT", kVocTextAlignment, &S::wmTextAlignment),
        number("--WM-TEXT-PADDING", &S::wmTextPadding),
        number("--WM-TEXT-OPACITY", &S::wmTextOpacity),
        text("--WM-BACK-COLOR", &S::wmBackColor),
        number("--WM-BACK-OPACITY", &S::wmBackOpacity),
        keyword("--WM-TEXT-BOUNDARY", kVocBoundary, &S::wmTextBoundary),
        keyword("--WM-TEXT-POSITION", kVocPosition, &S::wmTextPosition),
        number("--WM-TEXT-X-OFFSET", &S::wmTextXOffset),
        number("--WM-TEXT-Y-OFFSET", &S::wmTextYOffset),
        number("--WM-TEXT-ROTATION", &S::wmTextRotation),
        keyword("--WM-TEXT-SIZE", kVocWatermarkSize, &S::wmTextSize),
        text("--WM-IMAGE", &S::wmImage, &S::doWatermark, 2),
        toggle("--WM-IMAGE-GREYSCALE", &S::wmImageGreyscale),
        number("--WM-IMAGE-OPACITY", &S::wmImageOpacity),
        keyword("--WM-IMAGE-BOUNDARY", kVocBoundary, &S::wmImageBoundary),
        keyword("--WM-IMAGE-POSITION", kVocPosition, &S::wmImagePosition),
        number("--WM-IMAGE-X-OFFSET", &S::wmImageXOffset),
        number("--WM-IMAGE-Y-OFFSET", &S::wmImageYOffset),
        number("--WM-IMAGE-ROTATION", &S::wmImageRotation),
        keyword("--WM-IMAGE-SIZE", kVocWatermarkSize, &S::wmImageSize),

        // Advanced
        profileUnquoted(text("--FILENAME-MASK", &S::filenameMask)),
        keyword("--FILE-TIMESTAMP", kVocFileTimestamp, &S::fileTimestamp),
        number("--FILE-TIMESTAMP-CUSTOM", &S::customTimestamp),
        toggle("--NO-SUBFOLDERS", &S::keepSubfolders, 0),
    };
}

std::string_view profileKeyOf(const SettingOption& option) {
    return option.profileKey.empty() ? option.name : option.profileKey;
}

}  // namespace

const std::vector<SettingOption>& settingOptions() {
    static const std::vector<SettingOption> table = buildTable();
    return table;
}

const SettingOption* findSettingOption(std::string_view key) {
    for (const SettingOption& option : settingOptions())
        if (option.name == key) return &option;
    return nullptr;
}

const SettingOption* findProfileKey(std::string_view key) {
    for (const SettingOption& option : settingOptions())
        if (profileKeyOf(option) == key) return &option;
    return nullptr;
}

void storeSettingValue(const SettingOption& option, std::string_view value, ConversionSettings& settings) {
    if (option.groupFlag && !(option.groupNeedsNonZero && readNumber(value) == 0))
        settings.*option.groupFlag = option.groupValue;
    std::visit(
        [&](auto member) {
            auto& field = settings.*member;
            using Field = std::remove_reference_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, std::string>) {
                field = std::string(value);
            } else {
                switch (option.kind) {
                case OptionKind::Switch: field = static_cast<Field>(option.switchValue); break;
                case OptionKind::Keyword:
                    field = static_cast<Field>(parseKeyword(option.vocabulary, trimBlanks(value)));
                    break;
                case OptionKind::Decimal: field = static_cast<Field>(readDecimal(value)); break;
                default: field = static_cast<Field>(readNumber(value)); break;
                }
            }
        },
        option.field);
}

bool loadProfile(const std::string& path, ConversionSettings& settings) {
    if (path.empty()) return false;
    // Only a regular file of sensible size is read: a folder, a pipe or a
    // device would block, fail or never end.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > kMaxProfileBytes)
        return false;
    std::string bytes;
    if (!readWholeFile(path, bytes, kMaxProfileBytes)) return false;
    const IniFile ini = parseIni(bytes);
    const IniGroup* group = ini.group("CLI");
    if (!group) return true;
    std::set<std::string> seen;  // of duplicate keys the first counts
    for (const IniEntry& entry : group->entries) {
        std::string key = upperAscii(entry.key);
        if (!seen.insert(key).second) continue;
        const SettingOption* option = findProfileKey(key);
        if (!option) continue;
        std::string value(trimBlanks(entry.value));
        if (option->profileDropsQuotes) value = withoutOuterQuotes(value);
        storeSettingValue(*option, value, settings);
    }
    return true;
}

}  // namespace pixalto
