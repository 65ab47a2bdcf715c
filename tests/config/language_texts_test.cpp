// The built-in texts checked against the product's list of texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "config/language_table.h"
#include "config/language_texts.h"

namespace pixalto {
namespace {

// Entries whose text equals the key ("Medium" is listed twice, as built in).
const char* const kSameAsKey[] = {
    "None", "Auto", "General", "Every day", "Every week", "Every month", "Every 3 months", "Every 6 months",
    "Never", "Interface", "Small", "Medium", "Large", "Extra Large", "Huge", "Input", "Linear",
    "Adaptive Logarithmic", "DR Reduction", "Gradient Domain", "Output", "RLE", "ZIP", "PXR24", "B44",
    "LZW", "JPEG", "Exact", "RGB", "CMYK", "LAB", "Low", "Medium", "High", "Baseline Standard",
    "Baseline Simple", "Baseline Optimized", "Progressive", "Transform", "All Images", "Large Images",
    "Box", "Bilinear", "Bicubic", "Lanczos", "Adjustment", "Frame", "Watermark", "Color", "Black", "Silver",
    "Gray", "White", "Maroon", "Red", "Purple", "Fuchsia", "Green", "Lime", "Olive", "Yellow", "Navy",
    "Blue", "Teal", "Aqua", "Orange", "Brown", "Violet", "Regular", "Bold", "Italic", "Bold Italic",
    "Underline", "Top-Left", "Top-Center", "Top-Right", "Middle-Left", "Middle-Center", "Middle-Right",
    "Bottom-Left", "Bottom-Center", "Bottom-Right", "Fixed", "Proportional", "Fit", "Fill", "Advanced",
    "Current", "Original", "Custom", "Export", "Privacy",
};
// Entries whose text is the key followed by ":".
const char* const kKeyWithColon[] = {
    "Language", "Check for Updates", "Input Format", "Header Size", "Load As", "Frame Loading",
    "Output Format", "Bits Per Pixel", "Compression", "Color Table", "Color Mode", "Image Quality",
    "Chroma Subsampling", "Save As", "Interlaced", "Image Rotation", "Rotation Type", "Rotation Angle",
    "Background Color", "Image Resize", "Image Width", "Image Height", "Resize Type", "Resize Algorithm",
    "Image Brightness", "Image Contrast", "Image Threshold", "Threshold Level", "Image Dither", "Left",
    "Right", "Top", "Bottom", "Left Color", "Right Color", "Top Color", "Bottom Color", "Text", "Image",
    "Font", "Font Size", "Font Leading", "Font Color", "Font Style", "Font Effect", "Antialiasing",
    "Text Alignment", "Text Padding", "Text Opacity", "Background Opacity", "Opacity", "Boundary",
    "Position", "X-Offset", "Y-Offset", "Size", "Scale", "Filename Mask", "File Timestamp",
    "Custom Timestamp", "Keep Subfolders",
};
const std::pair<const char*, const char*> kOtherTexts[] = {
    {"Title", "Preferences..."}, {"Catmullrom", "Catmull-Rom Spline"},
    {"Save window position", "Save Window's Coords:"}, {"Image Flip Horizontal", "Flip Horizontal:"},
    {"UI Theme", "Theme:"}, {"Image Flip Vertical", "Flip Vertical:"},
    {"UI Size", "Icon Size:"}, {"Image Gamma", "Gamma Correction:"},
    {"Bytes", "bytes"}, {"Image Invert", "Invert Image:"},
    {"RGB8", "RGB 8-bit"}, {"Image Greyscale", "Greyscale Image:"},
    {"RGB16", "RGB 16-bit"}, {"Dither Algorithm", "Dithering Algorithm:"},
    {"RGB24", "RGB 24-bit"}, {"FS", "Floyd and Steinberg error diffusion"},
    {"RGB48HS", "RGB 48-bit (HS)"}, {"Bayer4", "Bayer ordered dot dithering 4x4"},
    {"RGB48", "RGB 48-bit"}, {"Bayer8", "Bayer ordered dot dithering 8x8"},
    {"BGRA", "BGR 32-bit"}, {"Bayer16", "Bayer ordered dot dithering 16x16"},
    {"RGBA", "RGB 32-bit"}, {"Cluster6", "Clustered dot dithering 6x6"},
    {"All Frames", "All"}, {"Cluster8", "Clustered dot dithering 8x8"},
    {"First Frame", "First"}, {"Cluster16", "Clustered dot dithering 16x16"},
    {"Middle Frame", "Middle"}, {"Frame Type", "Frame:"},
    {"Last Frame", "Last"}, {"Frame Solid", "Solid Color"},
    {"Random Frame", "Random"}, {"Watermark Type", "Watermark:"},
    {"Tone Mapping", "HDR Tone Mapping:"}, {"Watermark Text", "Text"},
    {"PIZ", "PIZ Wavelet"}, {"Watermark Image", "Image"},
    {"ZLIB1", "ZLib Level 1"}, {"Points", "points"},
    {"ZLIB6", "ZLib Level 6"}, {"Strikeout", "Strikethrough"},
    {"ZLIB9", "ZLib Level 9"}, {"Align Left", "Left"},
    {"CCITTFAX3", "CCITT Group 3 Fax"}, {"Align Center", "Center"},
    {"CCITTFAX4", "CCITT Group 4 Fax"}, {"Align Right", "Right"},
    {"PACKBITS", "PackBits"}, {"Bound Image", "Image"},
    {"DEFLATE", "Deflate (ZLib)"}, {"Bound Frame", "Frame"},
    {"ADOBEDEFLATE", "Adobe Deflate"}, {"Out Folders History", "Output Folders History:"},
    {"LOGLUV", "LogLuv"}, {"Clean On Exit", "Clean on Exit"},
    {"Simple Rotation", "Simple"}, {"Keep Folders", "Keep Recent"},
    {"Advanced Rotation", "Advanced"}, {"Out Folders Number", "Output Folders Number:"},
    {"Pixels", "pixels"}, {"Txt", "TXT"},
    {"Percent", "percent"}, {"Txt Export", "Export to TXT"},
    {"Keep Aspect Ratio", "Keep Proportions:"}, {"Csv Export", "Export to CSV"},
    {"Bspline", "B-Spline"}, {"Csv", "CSV"},
    {"Csv Delimiter", "CSV Delimiter:"}, {"Clean Recent Files", "Clean Recent Files List on Exit"},
};

class LanguageTexts : public ::testing::Test {
protected:
    void SetUp() override { loadLanguage(); }
};

// Entries per group in the built-in sequence, in stored order.
std::vector<std::pair<std::string, int>> groupSizes() {
    std::vector<std::pair<std::string, int>> sizes;
    for (const LanguagePair& pair : builtInLanguageTexts()) {
        const std::string key = pair.key;
        if (key == "_END_") break;
        if (key == "_GROUP_")
            sizes.emplace_back(pair.text, 0);
        else if (!sizes.empty())
            ++sizes.back().second;
    }
    return sizes;
}

TEST_F(LanguageTexts, GroupsComeInTheirStoredOrderWithTheirEntryCounts) {
    const std::vector<std::pair<std::string, int>> expected = {
        {"Menu", 28},        {"General", 10}, {"Msg", 41},
        {"Dialog", 18},      {"Preferences", std::size(kSameAsKey) + std::size(kKeyWithColon) + std::size(kOtherTexts)},
        {"About", 4},        {"Custom-Converter", 4}, {"Uninstall", 3},
    };
    EXPECT_EQ(groupSizes(), expected);
    EXPECT_EQ(std::size(kSameAsKey) + std::size(kKeyWithColon) + std::size(kOtherTexts), 223u);
}

TEST_F(LanguageTexts, EveryPreferencesKeyYieldsItsText) {
    for (const char* key : kSameAsKey) EXPECT_EQ(languageText("Preferences", key), key);
    for (const char* key : kKeyWithColon) EXPECT_EQ(languageText("Preferences", key), std::string(key) + ":");
    for (const auto& [key, text] : kOtherTexts) EXPECT_EQ(languageText("Preferences", key), text) << key;
}

TEST_F(LanguageTexts, PrefixKeysAndSharedKeysFindTheirOwnTexts) {
    const struct {
        const char* group;
        const char* key;
        const char* text;
    } cases[] = {
        {"Preferences", "Image", "Image:"},
        {"Preferences", "Image Width", "Image Width:"},
        {"Preferences", "Left", "Left:"},
        {"Preferences", "Left Color", "Left Color:"},
        {"Preferences", "Frame", "Frame"},
        {"Preferences", "Frame Type", "Frame:"},
        {"Menu", "Convert", "Convert"},
        {"General", "Convert", "Convert"},
        {"Menu", "Preferences", "Preferences..."},
        {"Preferences", "Title", "Preferences..."},
        {"About", "Title", "About..."},
        {"Custom-Converter", "Title", "Find a File Converter"},
        {"Uninstall", "Title", "Uninstall"},
        {"Menu", "Select Input File", "Add Input File..."},
        {"Menu", "Select Input Files", "Add Input Files..."},
        {"Menu", "Custom Converter", "Find a File Converter..."},
        {"About", "Email", "E-mail:"},
        {"Custom-Converter", "Search", "Search"},
        {"custom-converter", "FROM", "From:"},
        {"Uninstall", "Uninstall Text", "Full Uninstall - Visit Uninstall Center"},
        {"Preferences", "Bytes", "bytes"},
        {"Preferences", "Bound Image", "Image"},
        {"Preferences", "Mediums", "%NO_STRING_ERROR%"},
        {"Uninstall", "Nexts", "%NO_STRING_ERROR%"},
    };
    for (const auto& c : cases) EXPECT_EQ(languageText(c.group, c.key), c.text) << c.group << " / " << c.key;
}

}  // namespace
}  // namespace pixalto
