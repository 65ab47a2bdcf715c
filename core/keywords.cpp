#include "core/keywords.h"

#include <array>
#include <cctype>
#include <span>

namespace pixalto {
namespace {

struct Keyword {
    const char* word;
    int code;
};

constexpr Keyword kDdsLoadAs[] = {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}};
constexpr Keyword kRawLoadAs[] = {{"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5}};
constexpr Keyword kFrameLoading[] = {{"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}};
constexpr Keyword kToneMapping[] = {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}};
constexpr Keyword kCompression[] = {
    {"NONE", 0},      {"RLE", 1},      {"ZIP", 1},      {"PIZ", 2},          {"PXR24", 3},
    {"B44", 4},       {"ZLIB1", 1},    {"ZLIB6", 2},    {"ZLIB9", 3},        {"CCITTFAX3", 1},
    {"CCITTFAX4", 2}, {"PACKBITS", 3}, {"DEFLATE", 4},  {"ADOBEDEFLATE", 5}, {"LZW", 6},
    {"JPEG", 7},      {"LOGLUV", 8}};
constexpr Keyword kColorTable[] = {{"AUTO", 0}, {"EXACT", 1}};
constexpr Keyword kColorMode[] = {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}};
constexpr Keyword kChroma[] = {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}};
constexpr Keyword kJpgSaveAs[] = {{"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}};
constexpr Keyword kRotationType[] = {{"SIMPLE", 0}, {"ADVANCED", 1}};
constexpr Keyword kSizeUnit[] = {{"PIXELS", 0}, {"PERCENT", 1}};
constexpr Keyword kResizeType[] = {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}};
constexpr Keyword kResizeAlgorithm[] = {{"BOX", 0},     {"BILINEAR", 1},   {"BSPLINE", 2},
                                        {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}};
constexpr Keyword kDither[] = {{"FS", 0},       {"BAYER4", 1},   {"BAYER8", 2},   {"BAYER16", 3},
                               {"CLUSTER6", 4}, {"CLUSTER8", 5}, {"CLUSTER16", 6}};
constexpr Keyword kFrame[] = {{"NONE", 0}, {"SOLID", 1}};
constexpr Keyword kWatermark[] = {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}};
constexpr Keyword kFontStyle[] = {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}};
constexpr Keyword kFontEffect[] = {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}};
constexpr Keyword kAlignment[] = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
constexpr Keyword kBoundary[] = {{"IMAGE", 0}, {"FRAME", 1}};
constexpr Keyword kPosition[] = {{"TOPLEFT", 0},     {"TOPCENTER", 1},    {"TOPRIGHT", 2},
                                 {"MIDDLELEFT", 3},  {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
                                 {"BOTTOMLEFT", 6},  {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}};
constexpr Keyword kWatermarkSize[] = {{"FIXED", 0}};
constexpr Keyword kTimestamp[] = {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}};

const std::array<std::span<const Keyword>, kVocabularyCount> kVocabularies = {
    kDdsLoadAs, kRawLoadAs,   kFrameLoading,    kToneMapping, kCompression,  kColorTable,
    kColorMode, kChroma,      kJpgSaveAs,       kRotationType, kSizeUnit,    kResizeType,
    kResizeAlgorithm, kDither, kFrame,          kWatermark,   kFontStyle,    kFontEffect,
    kAlignment, kBoundary,    kPosition,        kWatermarkSize, kTimestamp};

// Families of the compression vocabulary, keywords in code order.
struct Family {
    const char* format;
    std::span<const char* const> words;
};
constexpr const char* kBmpFamily[] = {"none", "rle"};
constexpr const char* kExrFamily[] = {"none", "zip", "piz", "pxr24", "b44"};
constexpr const char* kPngFamily[] = {"none", "zlib1", "zlib6", "zlib9"};
constexpr const char* kTiffFamily[] = {"none",    "ccittfax3",    "ccittfax4", "packbits", "deflate",
                                       "adobedeflate", "lzw", "jpeg",      "logluv"};
const Family kFamilies[] = {
    {"bmp", kBmpFamily}, {"tga", kBmpFamily}, {"exr", kExrFamily}, {"png", kPngFamily}, {"tiff", kTiffFamily}};

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

int parseKeyword(int vocabulary, std::string_view text) {
    if (vocabulary < 0 || vocabulary >= kVocabularyCount) return 0;
    if (vocabulary == kVocWatermarkSize) return 0;
    const std::string wanted = upper(text);
    for (const Keyword& k : kVocabularies[vocabulary])
        if (wanted == k.word) return k.code;
    return 0;
}

std::string keywordFor(int vocabulary, int code, std::string_view outputFormat) {
    if (vocabulary < 0 || vocabulary >= kVocabularyCount) return {};
    if (vocabulary == kVocCompression) {
        const std::string format = lower(outputFormat);
        for (const Family& f : kFamilies)
            if (format == f.format)
                return code >= 0 && static_cast<size_t>(code) < f.words.size() ? f.words[code] : std::string();
        return {};
    }
    for (const Keyword& k : kVocabularies[vocabulary])
        if (k.code == code) return lower(k.word);
    return {};
}

}  // namespace pixalto
