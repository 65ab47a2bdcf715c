#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/run_state.h"
#include "platform/dates.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

namespace fs = std::filesystem;

using Pairs = std::vector<std::pair<std::string, std::string>>;
struct Group {
    std::string name;
    Pairs keys;
};

// A settings file as the design lays it out: byte-order mark and an empty
// line, then each group's line, its "key = value" lines and "; ", all CR LF.
std::string designFile(const std::vector<Group>& groups) {
    std::string out = "\xEF\xBB\xBF\r\n";
    for (const Group& g : groups) {
        out += "[" + g.name + "]\r\n";
        for (const auto& [key, value] : g.keys) out += key + " = " + value + "\r\n";
        out += "; \r\n";
    }
    return out;
}

// Every key of the file with a value that differs from its default and from
// its neighbours, in the design's order.
std::vector<Group> everyKeyChanged() {
    return {
        {"General", {{"CFG", "19"}, {"Language", "de"}, {"Update Range", "4"}, {"Update Date", "1700000000"},
                     {"Save Window Position", "1"}}},
        {"Window", {{"IsMaximized", "1"}, {"Width", "800"}, {"Height", "600"}, {"X", "-20"}, {"Y", "31"}}},
        {"Interface", {{"UI Theme", "classic"}, {"UI Size", "3"}}},
        {"Input", {{"Format", "pcx2"}}},
        {"Output",
         {{"Format", "png"},          {"BMP BPP", "24"},        {"BMP Compression", "1"}, {"BMP Color Table", "1"},
          {"DDS BPP", "32"},          {"EXR BPP", "96"},        {"EXR Compression", "3"}, {"GIF BPP", "8"},
          {"HDR BPP", "97"},          {"ICO BPP", "4"},         {"J2K BPP", "25"},        {"JNG BPP", "26"},
          {"JP2 BPP", "27"},          {"JPG BPP", "28"},        {"JPG Quality", "77"},    {"JPG Chroma", "2"},
          {"JPG Save As", "3"},       {"JXR BPP", "29"},        {"PBM BPP", "1"},         {"PCX BPP", "30"},
          {"PFM BPP", "31"},          {"PGM BPP", "16"},        {"PNG BPP", "48"},        {"PNG Compression", "2"},
          {"PNG Interlaced", "1"},    {"PPM BPP", "33"},        {"PSD BPP", "34"},        {"TGA BPP", "35"},
          {"TGA Compression", "1"},   {"TIFF BPP", "36"},       {"TIFF Compression", "7"}, {"TIFF Color Mode", "2"},
          {"WBMP BPP", "37"},         {"WEBP BPP", "38"},       {"WEBP Quality", "55"},   {"XPM BPP", "39"}}},
        {"Transform",
         {{"Do Image Rotation", "1"}, {"Image Rotation Type", "1"}, {"Image Rotation", "-45"},
          {"Image Rotation Back Color", "FF00FF"}, {"Do Image Resize", "1"}, {"Image Width", "640"},
          {"Image Width Unit", "1"}, {"Image Height", "480"}, {"Image Height Unit", "1"},
          {"Keep Aspect Ratio", "0"}, {"Image Resize Type", "1"}, {"Image Resize Algorithm", "5"},
          {"Do Image Flip Horizontal", "1"}, {"Do Image Flip Vertical", "1"}}},
        {"Adjustment",
         {{"Do Image Color Correction", "1"}, {"Image Brightness", "-12"}, {"Image Contrast", "13"},
          {"Image Gamma", "1.500000"}, {"Image Invert", "1"}, {"Do Image Greyscale", "1"},
          {"Do Image Threshold", "1"}, {"Image Threshold", "128"}, {"Do Image Dither", "1"},
          {"Image Dither Algorithm", "6"}}},
        {"Frame",
         {{"Do Frame", "1"}, {"Solid Left", "1"}, {"Solid Right", "2"}, {"Solid Top", "3"}, {"Solid Bottom", "4"},
          {"Solid Left Color", "111111"}, {"Solid Right Color", "222222"}, {"Solid Top Color", "333333"},
          {"Solid Bottom Color", "444444"}, {"Solid Opacity", "200"}}},
        {"Watermark",
         {{"Do Watermark", "2"}, {"Text", "Line one%eol%Line two \xC3\xA9"}, {"Fonts", "Arial,Verdana"},
          {"Font", "Verdana"}, {"Font Size", "20"}, {"Font Leading", "3"}, {"Font Colors", "000000,FFFFFF"},
          {"Font Color", "FF0000"}, {"Font Style", "3"}, {"Font Effect", "2"}, {"Text Antialiasing", "1"},
          {"Text Alignment", "2"}, {"Text Padding", "5"}, {"Text Opacity", "100"}, {"Back Colors", "FFFFFF"},
          {"Back Color", "00FF00"}, {"Back Opacity", "50"}, {"Text Boundary", "1"}, {"Text Position", "4"},
          {"Text X Offset", "11"}, {"Text Y Offset", "12"}, {"Text Rotation", "90"}, {"Text Size", "1"},
          {"Text Scale", "150"}, {"Image", "/tmp/mark.png"}, {"Image Greyscale", "1"}, {"Image Opacity", "128"},
          {"Image Boundary", "1"}, {"Image Position", "2"}, {"Image X Offset", "21"}, {"Image Y Offset", "22"},
          {"Image Rotation", "180"}, {"Image Size", "1"}, {"Image Scale", "199"}}},
        {"Advanced",
         {{"Filename Mask", "%filename%_%counter%.%ext%"}, {"File Timestamp", "2"},
          {"Custom Timestamp", "1600000000"}, {"Out Folders History", "0"}, {"Out Folders Number", "9"},
          {"Keep Subfolders", "0"}}},
        {"File", {{"Recent Out Folders", "/a/\t/b/"}, {"Recent Files", "x;y"}}},
        {"Privacy", {{"Clean Recent Files", "1"}}},
    };
}

class SettingsFile : public ::testing::Test {
protected:
    std::string write(const std::string& text) {
        const std::string path = (dir / "config.ini").string();
        test::writeFile(path, text);
        return path;
    }
    bool load(const std::string& text) { return loadSettingsFrom(write(text), settings, general); }

    test::TempDir dir;
    ConversionSettings settings;
    GeneralSettings general;
};

TEST_F(SettingsFile, EveryKeyIsReadIntoItsFieldAndWrittenBackByteForByte) {
    const std::string file = designFile(everyKeyChanged());
    ASSERT_TRUE(load(file));
    // A few fields of each kind, to see that the keys reach the right fields.
    EXPECT_EQ(general.language, "de");
    EXPECT_EQ(general.updateDate, 1700000000);
    EXPECT_EQ(general.windowX, -20);
    EXPECT_EQ(general.uiTheme, "classic");
    EXPECT_EQ(settings.outputFormat, "png");
    EXPECT_EQ(settings.jpgQuality, 77);
    EXPECT_EQ(settings.tiffColorMode, 2);
    EXPECT_EQ(settings.pngInterlaced, 1);
    EXPECT_EQ(settings.imageRotation, -45);
    EXPECT_FLOAT_EQ(settings.imageGamma, 1.5f);
    EXPECT_EQ(settings.wmText, "Line one%eol%Line two \xC3\xA9");
    EXPECT_EQ(settings.wmImageScale, 199);
    EXPECT_EQ(settings.outFoldersNumber, 9);
    EXPECT_EQ(settings.customTimestamp, 1600000000);
    EXPECT_EQ(general.recentOutFolders, "/a/\t/b/");
    EXPECT_EQ(general.cleanRecentFiles, 1);

    EXPECT_EQ(settingsFileText(settings, general), file);
    const std::string saved = (dir / "again.ini").string();
    ASSERT_TRUE(saveSettingsTo(saved, settings, general));
    EXPECT_EQ(test::readFile(saved), file);
}

TEST_F(SettingsFile, DefaultsAreWrittenInTheDesignedForm) {
    applyDesktopDefaults(settings, general);
    general.updateDate = 1234;
    settings.customTimestamp = 5678;
    general.windowX = 100;
    general.windowY = 100;
    std::vector<Group> expected = {
        {"General", {{"CFG", "19"}, {"Language", "en"}, {"Update Range", "2"}, {"Update Date", "1234"},
                     {"Save Window Position", "1"}}},
        {"Window", {{"IsMaximized", "0"}, {"Width", "510"}, {"Height", "330"}, {"X", "100"}, {"Y", "100"}}},
        {"Interface", {{"UI Theme", "handdrawn"}, {"UI Size", "2"}}},
        {"Input", {{"Format", "pcx"}}},
        {"Output", {{"Format", "bmp"}}},
    };
    for (const char* key : {"BMP BPP", "BMP Compression", "BMP Color Table", "DDS BPP", "EXR BPP", "EXR Compression",
                            "GIF BPP", "HDR BPP", "ICO BPP", "J2K BPP", "JNG BPP", "JP2 BPP", "JPG BPP"})
        expected.back().keys.push_back({key, "0"});
    expected.back().keys.insert(expected.back().keys.end(),
                                {{"JPG Quality", "95"}, {"JPG Chroma", "0"}, {"JPG Save As", "0"}});
    for (const char* key : {"JXR BPP", "PBM BPP", "PCX BPP", "PFM BPP", "PGM BPP", "PNG BPP", "PNG Compression",
                            "PNG Interlaced", "PPM BPP", "PSD BPP", "TGA BPP", "TGA Compression", "TIFF BPP",
                            "TIFF Compression", "TIFF Color Mode", "WBMP BPP", "WEBP BPP"})
        expected.back().keys.push_back({key, "0"});
    expected.back().keys.insert(expected.back().keys.end(), {{"WEBP Quality", "100"}, {"XPM BPP", "0"}});
    expected.push_back(
        {"Transform",
         {{"Do Image Rotation", "0"}, {"Image Rotation Type", "0"}, {"Image Rotation", "0"},
          {"Image Rotation Back Color", "000000"}, {"Do Image Resize", "0"}, {"Image Width", "0"},
          {"Image Width Unit", "0"}, {"Image Height", "0"}, {"Image Height Unit", "0"}, {"Keep Aspect Ratio", "1"},
          {"Image Resize Type", "0"}, {"Image Resize Algorithm", "3"}, {"Do Image Flip Horizontal", "0"},
          {"Do Image Flip Vertical", "0"}}});
    expected.push_back({"Adjustment",
                        {{"Do Image Color Correction", "0"}, {"Image Brightness", "0"}, {"Image Contrast", "0"},
                         {"Image Gamma", "1.000000"}, {"Image Invert", "0"}, {"Do Image Greyscale", "0"},
                         {"Do Image Threshold", "0"}, {"Image Threshold", "0"}, {"Do Image Dither", "0"},
                         {"Image Dither Algorithm", "0"}}});
    expected.push_back({"Frame",
                        {{"Do Frame", "0"}, {"Solid Left", "0"}, {"Solid Right", "0"}, {"Solid Top", "0"},
                         {"Solid Bottom", "0"}, {"Solid Left Color", "000000"}, {"Solid Right Color", "000000"},
                         {"Solid Top Color", "000000"}, {"Solid Bottom Color", "000000"}, {"Solid Opacity", "255"}}});
    const std::string colours = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
    expected.push_back(
        {"Watermark",
         {{"Do Watermark", "0"}, {"Text", "Copyright \xC2\xA9 2026 Corvane. All rights reserved."},
          {"Fonts", "Arial,Tahoma,Verdana"}, {"Font", "Arial"}, {"Font Size", "14"}, {"Font Leading", "0"},
          {"Font Colors", colours}, {"Font Color", "FFFFFF"}, {"Font Style", "0"}, {"Font Effect", "0"},
          {"Text Antialiasing", "0"}, {"Text Alignment", "0"}, {"Text Padding", "0"}, {"Text Opacity", "255"},
          {"Back Colors", colours}, {"Back Color", "000000"}, {"Back Opacity", "1"}, {"Text Boundary", "0"},
          {"Text Position", "8"}, {"Text X Offset", "10"}, {"Text Y Offset", "10"}, {"Text Rotation", "0"},
          {"Text Size", "0"}, {"Text Scale", "10"}, {"Image", ""}, {"Image Greyscale", "0"},
          {"Image Opacity", "255"}, {"Image Boundary", "0"}, {"Image Position", "8"}, {"Image X Offset", "10"},
          {"Image Y Offset", "10"}, {"Image Rotation", "0"}, {"Image Size", "0"}, {"Image Scale", "10"}}});
    expected.push_back({"Advanced",
                        {{"Filename Mask", "%filename%.%ext%"}, {"File Timestamp", "0"}, {"Custom Timestamp", "5678"},
                         {"Out Folders History", "1"}, {"Out Folders Number", "5"}, {"Keep Subfolders", "1"}}});
    expected.push_back({"File", {{"Recent Out Folders", ""}, {"Recent Files", ""}}});
    expected.push_back({"Privacy", {{"Clean Recent Files", "0"}}});
    EXPECT_EQ(settingsFileText(settings, general), designFile(expected));

    // A file holding nothing but its groups reads back as these defaults.
    ASSERT_TRUE(load("\xEF\xBB\xBF\r\n[General]\r\n; \r\n"));
    EXPECT_EQ(general.cfg, 0);
    general.updateDate = 1234;
    settings.customTimestamp = 5678;
    EXPECT_EQ(settingsFileText(settings, general), designFile(expected));
}

TEST_F(SettingsFile, WindowGroupIsEmptyWithoutSavedPositionAndGammaHasSixDecimals) {
    applyDesktopDefaults(settings, general);
    general.saveWindowPosition = 0;
    general.windowWidth = 999;
    settings.imageGamma = 1.5f;
    const std::string text = settingsFileText(settings, general);
    EXPECT_NE(text.find("Save Window Position = 0\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nImage Gamma = 1.500000\r\n"), std::string::npos);

    // The window keys still read with their defaults.
    ASSERT_TRUE(load(text));
    EXPECT_EQ(general.windowWidth, 510);
    EXPECT_EQ(general.windowX, 100);
    EXPECT_FLOAT_EQ(settings.imageGamma, 1.5f);
}

TEST_F(SettingsFile, GammaKeepsInfinityAndNaNBothWays) {
    const struct {
        const char* text;
        float value;
    } cases[] = {{"+Infinity", INFINITY}, {"-Infinity", -INFINITY}, {"2.25", 2.25f}, {"-0.5", -0.5f},
                 {"3", 3.0f},             {"1,5", 1.0f},            {"abc", 0.0f}};
    for (const auto& c : cases) {
        ASSERT_TRUE(load("[Adjustment]\nImage Gamma = " + std::string(c.text) + "\n")) << c.text;
        EXPECT_EQ(settings.imageGamma, c.value) << c.text;
    }
    ASSERT_TRUE(load("[Adjustment]\nImage Gamma = NaN\n"));
    EXPECT_TRUE(std::isnan(settings.imageGamma));
    EXPECT_NE(settingsFileText(settings, general).find("\r\nImage Gamma = NaN\r\n"), std::string::npos);
    settings.imageGamma = -INFINITY;
    EXPECT_NE(settingsFileText(settings, general).find("\r\nImage Gamma = -Infinity\r\n"), std::string::npos);
    settings.imageGamma = INFINITY;
    EXPECT_NE(settingsFileText(settings, general).find("\r\nImage Gamma = +Infinity\r\n"), std::string::npos);
}

TEST_F(SettingsFile, ValuesAreReadLooselyAsDesigned) {
    ASSERT_TRUE(load("[watermark]\n"
                     "Font =  Verdana \t\n"
                     "font size = 12abc\n"
                     "Text Opacity = abc\n"
                     "Font Style = 300\n"        // 8-bit: low byte 44
                     "Font Effect = -1\n"        // 8-bit: stays -1
                     "Text Alignment = 257\n"    // 8-bit: low byte 1
                     "Text Rotation = -90\n"
                     "[OUTPUT]\n"
                     "JPG QUALITY=  80  \n"
                     "[Input]\n"
                     "DDS Load As = 2\n"));
    EXPECT_EQ(settings.wmFont, "Verdana");
    EXPECT_EQ(settings.wmFontSize, 12);
    EXPECT_EQ(settings.wmTextOpacity, 0);
    EXPECT_EQ(settings.wmFontStyle, 44);
    EXPECT_EQ(settings.wmFontEffect, -1);
    EXPECT_EQ(settings.wmTextAlignment, 1);
    EXPECT_EQ(settings.wmTextRotation, -90);
    EXPECT_EQ(settings.jpgQuality, 80);
    // Keys of input kinds that are not enabled are read, but not written.
    EXPECT_EQ(settings.ddsLoadAs, 2);
    EXPECT_EQ(settingsFileText(settings, general).find("DDS Load As"), std::string::npos);
    // Missing keys have their defaults.
    EXPECT_EQ(settings.webpQuality, 100);
    EXPECT_EQ(settings.keepAspectRatio, 1);
    EXPECT_EQ(settings.wmText, kRightsNotice);
    EXPECT_EQ(general.uiTheme, "handdrawn");
}

TEST_F(SettingsFile, OldLayoutsAreBroughtUpToDate) {
    const struct {
        const char* file;
        const char* mask;
        int rawLoadAs;
        int psdColorMode;
        int tiffColorMode;
    } cases[] = {
        // Masks without "%ext%" (exact letter case) get it below layout 11.
        {"[Advanced]\nFilename Mask = %filename%\n", "%filename%.%ext%", 0, 0, 0},
        {"[General]\nCFG = 10\n[Advanced]\nFilename Mask = %FILENAME%.%EXT%\n", "%FILENAME%.%EXT%.%ext%", 0, 0, 0},
        {"[General]\nCFG = 11\n[Advanced]\nFilename Mask = %filename%\n", "%filename%", 0, 0, 0},
        {"[General]\nCFG = 5\n", "%filename%.%ext%", 0, 0, 0},
        // RAW Load As moves up by 2 below layout 14.
        {"[General]\nCFG = 13\n[Input]\nRAW Load As = 1\n", "%filename%.%ext%", 3, 0, 0},
        {"[General]\nCFG = 13\n[Input]\nRAW Load As = 0\n", "%filename%.%ext%", 0, 0, 0},
        {"[General]\nCFG = 14\n[Input]\nRAW Load As = 1\n", "%filename%.%ext%", 1, 0, 0},
        // The colour models of layout 18 and older replace the colour modes when not 0.
        {"[General]\nCFG = 18\n[Input]\nRAW Load As = 1\nPSD Color Model = 2\n", "%filename%.%ext%", 1, 2, 0},
        {"[General]\nCFG = 18\n[Input]\nPSD Color Mode = 1\nPSD Color Model = 0\n[Output]\nTIFF Color Model = 2\n",
         "%filename%.%ext%", 0, 1, 2},
        {"[General]\nCFG = 19\n[Input]\nPSD Color Model = 2\n[Output]\nTIFF Color Model = 1\n", "%filename%.%ext%",
         0, 0, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(load(c.file)) << c.file;
        EXPECT_EQ(settings.filenameMask, c.mask) << c.file;
        EXPECT_EQ(settings.rawLoadAs, c.rawLoadAs) << c.file;
        EXPECT_EQ(settings.psdColorMode, c.psdColorMode) << c.file;
        EXPECT_EQ(settings.tiffColorMode, c.tiffColorMode) << c.file;
    }
}

TEST_F(SettingsFile, MissingFileGivesTheDesktopDefaultsWithTheWindowCentred) {
    setPrimaryScreenSize(1920, 1080);
    const int64_t before = localDateValueNow();
    EXPECT_FALSE(loadSettingsFrom((dir / "absent.ini").string(), settings, general));
    const int64_t after = localDateValueNow();
    EXPECT_EQ(general.cfg, 19);
    EXPECT_EQ(general.windowX, 705);
    EXPECT_EQ(general.windowY, 375);
    EXPECT_EQ(settings.keepAspectRatio, 1);
    EXPECT_EQ(settings.wmText, kRightsNotice);
    EXPECT_GE(general.updateDate, before);
    EXPECT_LE(general.updateDate, after);
    EXPECT_GE(settings.customTimestamp, before);
    // A layout-19 default: the old mask rule does not apply.
    EXPECT_EQ(settings.filenameMask, "%filename%.%ext%");
    setPrimaryScreenSize(0, 0);
}

TEST(DefaultWindowPosition, CentresOnScreensLargerThanTheWindow) {
    const struct {
        int width, height, x, y;
    } cases[] = {{1920, 1080, 705, 375}, {511, 331, 0, 0},   {510, 330, 100, 100},
                 {1025, 200, 257, 100},  {0, 0, 100, 100}, {-5, 768, 100, 219}};
    for (const auto& c : cases) {
        const WindowPosition p = defaultWindowPosition(c.width, c.height);
        EXPECT_EQ(p.x, c.x) << c.width;
        EXPECT_EQ(p.y, c.y) << c.height;
    }
}

TEST_F(SettingsFile, ValuesNeverBreakTheFileLayout) {
    applyDesktopDefaults(settings, general);
    settings.wmText = "one\r\n[General]\r\nCFG = 3";
    ASSERT_TRUE(load(settingsFileText(settings, general)));
    EXPECT_EQ(settings.wmText, "one  [General]  CFG = 3");
    EXPECT_EQ(general.cfg, 19);
}

TEST_F(SettingsFile, SavingReplacesTheFileOrLeavesItAlone) {
    applyDesktopDefaults(settings, general);
    const std::string path = write("old");
    settings.wmFont = "Tahoma";
    ASSERT_TRUE(saveSettingsTo(path, settings, general));
    EXPECT_EQ(test::readFile(path), settingsFileText(settings, general));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    EXPECT_FALSE(saveSettingsTo((dir / "missing" / "config.ini").string(), settings, general));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

// Points the settings location at a private folder for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsLocation, FollowsXdgConfigHomeOrHomeAndMakesTheFolders) {
    test::TempDir dir;
    {
        ScopedEnv config("XDG_CONFIG_HOME", dir.str().c_str());
        EXPECT_EQ(settingsFilePath(), dir.str() + "/Corvane/pixalto/config.ini");
        EXPECT_TRUE(fs::is_directory(dir / "Corvane" / "pixalto"));
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "relative/folder");
        ScopedEnv home("HOME", dir.str().c_str());
        EXPECT_EQ(settingsFilePath(), dir.str() + "/.config/Corvane/pixalto/config.ini");
        EXPECT_TRUE(fs::is_directory(dir / ".config" / "Corvane" / "pixalto"));
    }
}

TEST(SettingsLocation, TheProcessSettingsGoThroughThatFile) {
    test::TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.str().c_str());
    EXPECT_FALSE(loadSettings());
    conversionSettings().jpgQuality = 42;
    generalSettings().language = "fr";
    ASSERT_TRUE(saveSettings());
    conversionSettings().jpgQuality = 1;
    generalSettings().language.clear();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(conversionSettings().jpgQuality, 42);
    EXPECT_EQ(generalSettings().language, "fr");
}

}  // namespace
}  // namespace pixalto
