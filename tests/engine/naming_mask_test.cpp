#include <gtest/gtest.h>

#include <ctime>
#include <set>

#include "engine/naming/filename_mask.h"

namespace pixalto {
namespace {

// Local date value of 2024-03-07 09:05:03 (local fields read as UTC).
int64_t march7At090503() {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    return static_cast<int64_t>(timegm(&t));
}

struct MaskCase {
    const char* mask;
    const char* inputPath;
    const char* extension;
    const char* expected;
};

ConversionJob jobFor(const char* inputPath, const char* extension) {
    ConversionJob job;
    job.inputPath = inputPath;
    job.outputExtension = extension;
    job.targetBitDepth = 24;
    job.resultWidth = 640;
    job.resultHeight = 480;
    job.frameNumber = 1;
    job.randomNumber = 42;
    job.fileCounter = 1;
    return job;
}

TEST(FilenameMask, ExpandsPlaceholdersOfTheMask) {
    const MaskCase cases[] = {
        {"Photo_%filename[u]%_%n%.%ext%", "/in/My pic.pcx", "tiff", "photo_MY PIC_00001.tiff"},
        {"%filename[t]%.%ext[t]%", "/in/sUnSet.pcx", "jpg", "Sunset.Jpg"},
        {"%yyyy%-%mm%-%dd%_%hh%%ii%%ss%.%ext%", "/in/a.pcx", "png", "2024-03-07_090503.png"},
        {"", "/in/Holiday.pcx", "png", "Holiday.png"},
        {"%filename%", "/in/Holiday.pcx", "png", "Holiday"},
        {"%FILENAME%.%Ext[U]%", "/in/Holiday.pcx", "tiff", "Holiday.TIFF"},
        {"%filename[l]%_%filename%", "/in/MiXeD.pcx", "bmp", "mixed_MiXeD"},
        {"%bpp%_%width%x%height%_%frame%_%rnd%_%n%", "/in/a.pcx", "png", "24_640x480_1_00042_00001"},
        {"%n%-%n%-%N%", "/in/a.pcx", "png", "00001-00001-00001"},
        {"%%n%%", "/in/a.pcx", "png", "%00001%"},
        // "%ext%" comes before "%n%": what is left of "%n%ext%" is no placeholder.
        {"%n%ext%", "/in/a.pcx", "png", "%npng"},
        {"%unknown%_%filename%", "/in/a.pcx", "png", "%unknown%_a"},
        {"%filename%.%ext%", "/in/archive.tar.pcx", "png", "archive.tar.png"},
        {"%filename%.%ext%", "/in/a.b/noext", "png", "noext.png"},
        {"%filename%.%ext%", "relative.pcx", "png", "relative.png"},
        // A file name that holds placeholder text keeps it: replacements are not expanded again.
        {"%filename%.%ext%", "/in/100%N% %Ext%.pcx", "png", "100%N% %Ext%.png"},
        {"%filename[u]%_%ext%", "/in/x%n%.pcx", "png", "X%N%_png"},
        // Non-ASCII letters change case too, in the mask and in the file name.
        {"Über_%filename[u]%", "/in/Straße über.pcx", "png", "über_STRASSE ÜBER"},
        {"%filename[l]%", "/in/ÄÖÜ ÉCOLE.pcx", "png", "äöü école"},
        {"%filename[t]%", "/in/éCOLE.pcx", "png", "École"},
        {"%filename[t]%", "/in/ΣΟΦΊΑ.pcx", "png", "Σοφία"},
        // Not valid UTF-8: only ASCII letters change, other bytes stay as they are.
        {"%filename[u]%", "/in/ab\xFF\xFEz.pcx", "png", "AB\xFF\xFEZ"},
    };
    const int64_t now = march7At090503();
    for (const MaskCase& c : cases) {
        ConversionSettings settings;
        settings.filenameMask = c.mask;
        EXPECT_EQ(expandFilenameMask(jobFor(c.inputPath, c.extension), settings, now), c.expected)
            << "mask " << c.mask << ", input " << c.inputPath;
    }
}

TEST(FilenameMask, CountersAreZeroFilledAndNeverCut) {
    ConversionSettings settings;
    settings.filenameMask = "%rnd%_%n%";
    ConversionJob job = jobFor("/in/a.pcx", "png");
    job.randomNumber = 99999;
    job.fileCounter = 123456;  // cutting to five digits would give file 12345's name again
    EXPECT_EQ(expandFilenameMask(job, settings, 0), "99999_123456");
    job.randomNumber = 7;
    job.fileCounter = 100000;
    EXPECT_EQ(expandFilenameMask(job, settings, 0), "00007_100000");
}

TEST(FilenameMask, WatermarkTextKeepsItsLetterCase) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Size %WIDTH%x%Height%", "Size 640x480"},
        {"By %FileName[U]% On %DD%.%MM%.%YYYY%", "By MY PIC On 07.03.2024"},
        {"100% Sure", "100% Sure"},               // a single "%": left alone
        {"%n%", "00001"},
        {"Only %percent% Text", "Only %percent% Text"},
        {"", ""},
    };
    ConversionJob job = jobFor("/in/My pic.pcx", "png");
    for (const auto& c : cases) {
        ConversionSettings settings;
        settings.wmText = c.text;
        EXPECT_EQ(expandWatermarkText(job, settings, march7At090503()), c.expected) << c.text;
    }
}

TEST(FilenameMask, TempNameSpellsTheDateInLettersAndEndsInFiveRandomLetters) {
    const int64_t now = march7At090503();  // 1709802303
    ASSERT_EQ(now, 1709802303);
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string name = makeTempName(now);
        ASSERT_EQ(name.size(), 7u + 10u + 5u) << name;
        EXPECT_EQ(name.substr(0, 17), "pixaltobhajiacdad");
        for (char c : name.substr(17)) EXPECT_TRUE(c >= 'a' && c <= 'z') << name;
        seen.insert(name);
    }
    EXPECT_GT(seen.size(), 1u);  // twenty names that all agree would mean the letters are not random
    for (char c : makeTempName()) EXPECT_TRUE(c >= 'a' && c <= 'z');
}

TEST(FilenameMask, DependsOnFileOrderOnlyForCountersAndBitDepth) {
    const std::pair<const char*, bool> cases[] = {
        {"%filename%.%ext%", false}, {"%yyyy%%mm%%dd%_%width%x%height%_%frame%", false},
        {"", false},                 {"%n%.%ext%", true},
        {"x_%N%", true},             {"%Rnd%", true},
        {"%BPP%", true},             {"%nn%_%rn%_%bp%", false},
    };
    for (const auto& [mask, expected] : cases) EXPECT_EQ(maskDependsOnFileOrder(mask), expected) << mask;
}

}  // namespace
}  // namespace pixalto
