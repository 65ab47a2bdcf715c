#include "config/settings_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>

#include "config/ini_file.h"
#include "core/format_catalogue.h"
#include "core/run_state.h"
#include "platform/dates.h"
#include "platform/files.h"

namespace pixalto {

namespace {

using C = ConversionSettings;
using G = GeneralSettings;

// The field a key is stored in; its type is the key's kind: text, 32-bit
// number, 8-bit number (low byte kept) or floating point.
using FieldRef = std::variant<std::string C::*, int32_t C::*, int8_t C::*, float C::*, std::string G::*,
                              int32_t G::*, int8_t G::*>;

// Default of the date keys: the current date value.
constexpr char kNow[] = "now";

struct SettingKey {
    const char* group;
    const char* key;
    FieldRef field;
    const char* defaultValue;  // in the file's own text form, or kNow
    // Written only when Save Window Position is set.
    bool windowGeometry = false;
    // Written only when this input kind is enabled (read always).
    const char* inputKind = nullptr;
};

constexpr const char* kColourList = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";

// Every key of the file, in file order. It gives the defaults of keys missing
// from a file, drives the reading and the writing.
const SettingKey kKeys[] = {
    {"General", "CFG", &G::cfg, "0"},
    {"General", "Language", &G::language, "en"},
    {"General", "Update Range", &G::updateRange, "2"},
    {"General", "Update Date", &G::updateDate, kNow},
    {"General", "Save Window Position", &G::saveWindowPosition, "1"},

    {"Window", "IsMaximized", &G::isMaximized, "0", true},
    {"Window", "Width", &G::windowWidth, "510", true},
    {"Window", "Height", &G::windowHeight, "330", true},
    {"Window", "X", &G::windowX, "100", true},
    {"Window", "Y", &G::windowY, "100", true},

    {"Interface", "UI Theme", &G::uiTheme, "handdrawn"},
    {"Interface", "UI Size", &G::uiSize, "2"},

    {"Input", "Format", &C::inputFormat, "pcx"},
    {"Input", "DDS Load As", &C::ddsLoadAs, "0", false, "dds"},
    {"Input", "GIF Frame Loading", &C::gifFrameLoading, "0", false, "gif"},
    {"Input", "ICO Frame Loading", &C::icoFrameLoading, "0", false, "ico"},
    {"Input", "PSD Color Mode", &C::psdColorMode, "0", false, "psd"},
    {"Input", "RAW Load As", &C::rawLoadAs, "0", false, "raw"},
    {"Input", "RAW Header Size", &C::rawHeaderSize, "0", false, "raw"},
    {"Input", "RAW Image Width", &C::rawImageWidth, "0", false, "raw"},
    {"Input", "RAW Image Height", &C::rawImageHeight, "0", false, "raw"},
    {"Input", "RAW Tone Mapping", &C::rawToneMapping, "2", false, "raw"},
    {"Input", "TIFF Frame Loading", &C::tiffFrameLoading, "0", false, "tiff"},

    {"Output", "Format", &C::outputFormat, "bmp"},
    {"Output", "BMP BPP", &C::bmpBpp, "0"},
    {"Output", "BMP Compression", &C::bmpCompression, "0"},
    {"Output", "BMP Color Table", &C::bmpColorTable, "0"},
    {"Output", "DDS BPP", &C::ddsBpp, "0"},
    {"Output", "EXR BPP", &C::exrBpp, "0"},
    {"Output", "EXR Compression", &C::exrCompression, "0"},
    {"Output", "GIF BPP", &C::gifBpp, "0"},
    {"Output", "HDR BPP", &C::hdrBpp, "0"},
    {"Output", "ICO BPP", &C::icoBpp, "0"},
    {"Output", "J2K BPP", &C::j2kBpp, "0"},
    {"Output", "JNG BPP", &C::jngBpp, "0"},
    {"Output", "JP2 BPP", &C::jp2Bpp, "0"},
    {"Output", "JPG BPP", &C::jpgBpp, "0"},
    {"Output", "JPG Quality", &C::jpgQuality, "95"},
    {"Output", "JPG Chroma", &C::jpgChroma, "0"},
    {"Output", "JPG Save As", &C::jpgSaveAs, "0"},
    {"Output", "JXR BPP", &C::jxrBpp, "0"},
    {"Output", "PBM BPP", &C::pbmBpp, "0"},
    {"Output", "PCX BPP", &C::pcxBpp, "0"},
    {"Output", "PFM BPP", &C::pfmBpp, "0"},
    {"Output", "PGM BPP", &C::pgmBpp, "0"},
    {"Output", "PNG BPP", &C::pngBpp, "0"},
    {"Output", "PNG Compression", &C::pngCompression, "0"},
    {"Output", "PNG Interlaced", &C::pngInterlaced, "0"},
    {"Output", "PPM BPP", &C::ppmBpp, "0"},
    {"Output", "PSD BPP", &C::psdBpp, "0"},
    {"Output", "TGA BPP", &C::tgaBpp, "0"},
    {"Output", "TGA Compression", &C::tgaCompression, "0"},
    {"Output", "TIFF BPP", &C::tiffBpp, "0"},
    {"Output", "TIFF Compression", &C::tiffCompression, "0"},
    {"Output", "TIFF Color Mode", &C::tiffColorMode, "0"},
    {"Output", "WBMP BPP", &C::wbmpBpp, "0"},
    {"Output", "WEBP BPP", &C::webpBpp, "0"},
    {"Output", "WEBP Quality", &C::webpQuality, "100"},
    {"Output", "XPM BPP", &C::xpmBpp, "0"},

    {"Transform", "Do Image Rotation", &C::doImageRotation, "0"},
    {"Transform", "Image Rotation Type", &C::imageRotationType, "0"},
    {"Transform", "Image Rotation", &C::imageRotation, "0"},
    {"Transform", "Image Rotation Back Color", &C::imageRotationBackColor, "000000"},
    {"Transform", "Do Image Resize", &C::doImageResize, "0"},
    {"Transform", "Image Width", &C::imageWidth, "0"},
    {"Transform", "Image Width Unit", &C::imageWidthUnit, "0"},
    {"Transform", "Image Height", &C::imageHeight, "0"},
    {"Transform", "Image Height Unit", &C::imageHeightUnit, "0"},
    {"Transform", "Keep Aspect Ratio", &C::keepAspectRatio, "1"},
    {"Transform", "Image Resize Type", &C::imageResizeType, "0"},
    {"Transform", "Image Resize Algorithm", &C::imageResizeAlgorithm, "3"},
    {"Transform", "Do Image Flip Horizontal", &C::doImageFlipHorizontal, "0"},
    {"Transform", "Do Image Flip Vertical", &C::doImageFlipVertical, "0"},

    {"Adjustment", "Do Image Color Correction", &C::doImageColorCorrection, "0"},
    {"Adjustment", "Image Brightness", &C::imageBrightness, "0"},
    {"Adjustment", "Image Contrast", &C::imageContrast, "0"},
    {"Adjustment", "Image Gamma", &C::imageGamma, "1.0"},
    {"Adjustment", "Image Invert", &C::imageInvert, "0"},
    {"Adjustment", "Do Image Greyscale", &C::doImageGreyscale, "0"},
    {"Adjustment", "Do Image Threshold", &C::doImageThreshold, "0"},
    {"Adjustment", "Image Threshold", &C::imageThreshold, "0"},
    {"Adjustment", "Do Image Dither", &C::doImageDither, "0"},
    {"Adjustment", "Image Dither Algorithm", &C::imageDitherAlgorithm, "0"},

    {"Frame", "Do Frame", &C::doFrame, "0"},
    {"Frame", "Solid Left", &C::frameSolidLeft, "0"},
    {"Frame", "Solid Right", &C::frameSolidRight, "0"},
    {"Frame", "Solid Top", &C::frameSolidTop, "0"},
    {"Frame", "Solid Bottom", &C::frameSolidBottom, "0"},
    {"Frame", "Solid Left Color", &C::frameSolidLeftColor, "000000"},
    {"Frame", "Solid Right Color", &C::frameSolidRightColor, "000000"},
    {"Frame", "Solid Top Color", &C::frameSolidTopColor, "000000"},
    {"Frame", "Solid Bottom Color", &C::frameSolidBottomColor, "000000"},
    {"Frame", "Solid Opacity", &C::frameSolidOpacity, "255"},

    {"Watermark", "Do Watermark", &C::doWatermark, "0"},
    {"Watermark", "Text", &C::wmText, kRightsNotice},
    {"Watermark", "Fonts", &C::wmFonts, "Arial,Tahoma,Verdana"},
    {"Watermark", "Font", &C::wmFont, "Arial"},
    {"Watermark", "Font Size", &C::wmFontSize, "14"},
    {"Watermark", "Font Leading", &C::wmFontLeading, "0"},
    {"Watermark", "Font Colors", &C::wmFontColors, kColourList},
    {"Watermark", "Font Color", &C::wmFontColor, "FFFFFF"},
    {"Watermark", "Font Style", &C::wmFontStyle, "0"},
    {"Watermark", "Font Effect", &C::wmFontEffect, "0"},
    {"Watermark", "Text Antialiasing", &C::wmTextAntialiasing, "0"},
    {"Watermark", "Text Alignment", &C::wmTextAlignment, "0"},
    {"Watermark", "Text Padding", &C::wmTextPadding, "0"},
    {"Watermark", "Text Opacity", &C::wmTextOpacity, "255"},
    {"Watermark", "Back Colors", &C::wmBackColors, kColourList},
    {"Watermark", "Back Color", &C::wmBackColor, "000000"},
    {"Watermark", "Back Opacity", &C::wmBackOpacity, "1"},
    {"Watermark", "Text Boundary", &C::wmTextBoundary, "0"},
    {"Watermark", "Text Position", &C::wmTextPosition, "8"},
    {"Watermark", "Text X Offset", &C::wmTextXOffset, "10"},
    {"Watermark", "Text Y Offset", &C::wmTextYOffset, "10"},
    {"Watermark", "Text Rotation", &C::wmTextRotation, "0"},
    {"Watermark", "Text Size", &C::wmTextSize, "0"},
    {"Watermark", "Text Scale", &C::wmTextScale, "10"},
    {"Watermark", "Image", &C::wmImage, ""},
    {"Watermark", "Image Greyscale", &C::wmImageGreyscale, "0"},
    {"Watermark", "Image Opacity", &C::wmImageOpacity, "255"},
    {"Watermark", "Image Boundary", &C::wmImageBoundary, "0"},
    {"Watermark", "Image Position", &C::wmImagePosition, "8"},
    {"Watermark", "Image X Offset", &C::wmImageXOffset, "10"},
    {"Watermark", "Image Y Offset", &C::wmImageYOffset, "10"},
    {"Watermark", "Image Rotation", &C::wmImageRotation, "0"},
    {"Watermark", "Image Size", &C::wmImageSize, "0"},
    {"Watermark", "Image Scale", &C::wmImageScale, "10"},

    {"Advanced", "Filename Mask", &C::filenameMask, "%filename%.%ext%"},
    {"Advanced", "File Timestamp", &C::fileTimestamp, "0"},
    {"Advanced", "Custom Timestamp", &C::customTimestamp, kNow},
    {"Advanced", "Out Folders History", &C::outFoldersHistory, "1"},
    {"Advanced", "Out Folders Number", &C::outFoldersNumber, "5"},
    {"Advanced", "Keep Subfolders", &C::keepSubfolders, "1"},

    {"File", "Recent Out Folders", &G::recentOutFolders, ""},
    {"File", "Recent Files", &G::recentFiles, ""},

    {"Privacy", "Clean Recent Files", &G::cleanRecentFiles, "0"},
};

template <class Conversion, class General>
struct Records {
    Conversion& conversion;
    General& general;
};

template <class Rec, class T, class Owner>
auto& fieldOf(Rec& records, T Owner::*member) {
    if constexpr (std::is_same_v<Owner, ConversionSettings>)
        return records.conversion.*member;
    else
        return records.general.*member;
}

// Sign and leading digits; text without them reads as 0. Nothing when the
// number does not fit in 32 bits.
std::optional<int32_t> leadingInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<float> leadingFloat(std::string_view text) {
    if (equalsIgnoringCase(text, "+Infinity")) return INFINITY;
    if (equalsIgnoringCase(text, "-Infinity")) return -INFINITY;
    if (equalsIgnoringCase(text, "NaN")) return NAN;
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only a plain decimal number counts; whatever follows it is ignored.
    size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') ++length;
    if (length < text.size() && text[length] == '.') {
        ++length;
        while (length < text.size() && text[length] >= '0' && text[length] <= '9') ++length;
    }
    float value = 0.0f;
    if (length > 0 && !(length == 1 && text[0] == '.')) {
        const auto result = std::from_chars(text.data(), text.data() + length, value, std::chars_format::fixed);
        if (result.ec != std::errc()) return std::nullopt;
    }
    return negative ? -value : value;
}

bool parseInto(std::string& field, std::string_view text) {
    field.assign(text);
    return true;
}

bool parseInto(int32_t& field, std::string_view text) {
    const std::optional<int32_t> number = leadingInteger(text);
    if (number) field = *number;
    return number.has_value();
}

bool parseInto(int8_t& field, std::string_view text) {
    const std::optional<int32_t> number = leadingInteger(text);
    if (number) field = static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(*number) & 0xFFu));
    return number.has_value();
}

bool parseInto(float& field, std::string_view text) {
    const std::optional<float> number = leadingFloat(text);
    if (number) field = *number;
    return number.has_value();
}

std::string defaultText(const SettingKey& key) {
    return key.defaultValue == kNow ? std::to_string(localDateValueNow()) : std::string(key.defaultValue);
}

// Stores the text in the key's field; an unusable text gives the default.
template <class Rec>
void storeValue(Rec& records, const SettingKey& key, std::string_view text) {
    std::visit(
        [&](auto member) {
            auto& field = fieldOf(records, member);
            if (!parseInto(field, text)) parseInto(field, defaultText(key));
        },
        key.field);
}

// A value stays on its one line: line breaks inside a text become blanks.
std::string formatValue(const std::string& text) {
    std::string out = text;
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

std::string formatValue(int32_t number) { return std::to_string(number); }
std::string formatValue(int8_t number) { return std::to_string(static_cast<int>(number)); }

std::string formatValue(float number) {
    if (std::isnan(number)) return "NaN";
    if (std::isinf(number)) return number > 0 ? "+Infinity" : "-Infinity";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

bool isInputKindEnabled(std::string_view kind) {
    const std::vector<std::string>& kinds = inputExtensions();
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

void migrateOldLayout(const IniFile& file, ConversionSettings& settings, int32_t cfg) {
    if (cfg < 11 && settings.filenameMask.find("%ext%") == std::string::npos) settings.filenameMask += ".%ext%";
    if (cfg < 14 && settings.rawLoadAs != 0) settings.rawLoadAs += 2;
    if (cfg < 19) {
        const auto colourModel = [&](std::string_view group, std::string_view key) {
            const std::optional<std::string> text = file.value(group, key);
            return text ? leadingInteger(*text).value_or(0) : 0;
        };
        if (const int32_t psd = colourModel("Input", "PSD Color Model"); psd != 0) settings.psdColorMode = psd;
        if (const int32_t tiff = colourModel("Output", "TIFF Color Model"); tiff != 0) settings.tiffColorMode = tiff;
    }
}

}  // namespace

bool loadSettingsFrom(const std::string& path, ConversionSettings& settings, GeneralSettings& general) {
    std::string bytes;
    if (!readWholeFile(path, bytes, kMaxSettingsFileBytes)) {
        applyDesktopDefaults(settings, general);
        return false;
    }
    const IniFile file = parseIni(bytes);
    Records<ConversionSettings, GeneralSettings> records{settings, general};
    for (const SettingKey& key : kKeys) {
        const std::optional<std::string> text = file.value(key.group, key.key);
        storeValue(records, key, text ? *text : defaultText(key));
    }
    migrateOldLayout(file, settings, general.cfg);
    return true;
}

std::string settingsFileText(const ConversionSettings& settings, const GeneralSettings& general) {
    GeneralSettings written = general;
    written.cfg = kSettingsLayoutVersion;
    const Records<const ConversionSettings, const GeneralSettings> records{settings, written};

    std::string out = "\xEF\xBB\xBF\r\n";
    std::string_view group;
    for (const SettingKey& key : kKeys) {
        if (key.group != group) {
            if (!group.empty()) out += "; \r\n";
            group = key.group;
            out.append(1, '[').append(group).append("]\r\n");
        }
        if (key.windowGeometry && written.saveWindowPosition == 0) continue;
        if (key.inputKind != nullptr && !isInputKindEnabled(key.inputKind)) continue;
        out += key.key;
        out += " = ";
        out += std::visit([&](auto member) { return formatValue(fieldOf(records, member)); }, key.field);
        out += "\r\n";
    }
    out += "; \r\n";
    return out;
}

bool saveSettingsTo(const std::string& path, const ConversionSettings& settings, const GeneralSettings& general) {
    return writeFileAtomically(path, settingsFileText(settings, general));
}

bool loadSettings() { return loadSettingsFrom(settingsFilePath(), conversionSettings(), generalSettings()); }

bool saveSettings() { return saveSettingsTo(settingsFilePath(), conversionSettings(), generalSettings()); }

}  // namespace pixalto
