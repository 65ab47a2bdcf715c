// Settings files that were damaged, cut short or written by something else
// load without harm: what is usable is taken, the rest gives defaults.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/settings_file.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

class DamagedSettings : public ::testing::Test {
protected:
    bool load(const std::string& bytes) {
        const std::string path = (dir / "config.ini").string();
        test::writeFile(path, bytes);
        return loadSettingsFrom(path, settings, general);
    }
    test::TempDir dir;
    ConversionSettings settings;
    GeneralSettings general;
};

TEST_F(DamagedSettings, BinaryBytesGiveDefaults) {
    std::mt19937 random(7);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    bytes += "\n[Output]\nJPG Quality = 33\n";  // a usable line among the junk still counts
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(settings.jpgQuality, 33);
    EXPECT_EQ(settings.outputFormat, "bmp");
    EXPECT_EQ(general.windowWidth, 510);
    EXPECT_EQ(settings.filenameMask, "%filename%.%ext%");
}

TEST_F(DamagedSettings, ATruncatedFileKeepsWhatItHolds) {
    ASSERT_TRUE(load("\xEF\xBB\xBF\r\n[General]\r\nCFG = 19\r\nLanguage = it\r\n[Output]\r\nFormat = png\r\nJPG Qual"));
    EXPECT_EQ(general.language, "it");
    EXPECT_EQ(settings.outputFormat, "png");
    EXPECT_EQ(settings.jpgQuality, 95);
    ASSERT_TRUE(load("\xEF\xBB"));
    EXPECT_EQ(settings.outputFormat, "bmp");
}

TEST_F(DamagedSettings, AHugeFileIsNotReadAndDefaultsApply) {
    std::string bytes = "[Output]\r\nJPG Quality = 12\r\n";
    bytes.append(kMaxSettingsFileBytes, ';');
    EXPECT_FALSE(load(bytes));
    EXPECT_EQ(settings.jpgQuality, 95);
    EXPECT_EQ(general.cfg, kSettingsLayoutVersion);
}

TEST_F(DamagedSettings, KeysWithoutGroupsAndUnknownOnesAreIgnored) {
    ASSERT_TRUE(load("JPG Quality = 12\nFont = Tahoma\n[Nowhere]\nJPG Quality = 13\n[Output]\nNo Such Key = 1\n"));
    EXPECT_EQ(settings.jpgQuality, 95);
    EXPECT_EQ(settings.wmFont, "Arial");
    EXPECT_EQ(settingsFileText(settings, general).find("No Such Key"), std::string::npos);
}

TEST_F(DamagedSettings, OfDuplicateKeysTheFirstCounts) {
    ASSERT_TRUE(load("[Output]\nJPG Quality = 12\nJPG Quality = 13\n[Output]\nJPG Quality = 14\nPNG BPP = 24\n"));
    EXPECT_EQ(settings.jpgQuality, 12);
    EXPECT_EQ(settings.pngBpp, 24);  // a repeated group adds its keys
}

TEST_F(DamagedSettings, AbsurdNumbersNeverOverflow) {
    ASSERT_TRUE(load("[General]\nCFG = 99999999999999999999\nUpdate Date = -99999999999\n"
                     "[Output]\nJPG Quality = 2147483648\nWEBP Quality = 2147483647\nPNG BPP = -2147483648\n"
                     "[Advanced]\nOut Folders Number = 123456789012345678901234567890\nFile Timestamp = 4294967297\n"
                     "[Adjustment]\nImage Gamma = " +
                     std::string(400, '9') + "\n"));
    EXPECT_EQ(general.cfg, 0);                   // unusable: the default, so every migration runs
    EXPECT_GT(general.updateDate, 1700000000);   // unusable: now
    EXPECT_EQ(settings.jpgQuality, 95);
    EXPECT_EQ(settings.webpQuality, 2147483647);
    EXPECT_EQ(settings.pngBpp, -2147483647 - 1);
    EXPECT_EQ(settings.outFoldersNumber, 5);
    EXPECT_EQ(settings.fileTimestamp, 0);
    EXPECT_FLOAT_EQ(settings.imageGamma, 1.0f);
}

TEST_F(DamagedSettings, AFolderInPlaceOfTheFileGivesDefaults) {
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_FALSE(loadSettingsFrom((dir / "folder.ini").string(), settings, general));
    EXPECT_EQ(general.cfg, kSettingsLayoutVersion);
    EXPECT_FALSE(saveSettingsTo((dir / "folder.ini").string(), settings, general));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));
}

}  // namespace
}  // namespace pixalto
