// The windows' text helpers: shortened paths, durations, link targets and the
// converter search.
#include <gtest/gtest.h>

#include "config/language_table.h"
#include "services/progress_text.h"
#include "services/targets.h"

namespace pixalto {
namespace {

TEST(ShortenPath, KeepsBothEndsAroundThreeDots) {
    const std::string sixty = "/home/user/pictures/holiday/2026/summer/beach/img_000001.pcx";
    ASSERT_EQ(sixty.size(), 60u);
    EXPECT_EQ(shortenPath(sixty, 40), sixty.substr(0, 18) + "..." + sixty.substr(42));
    EXPECT_EQ(shortenPath(sixty, 40).size(), 39u);
    EXPECT_EQ(shortenPath(sixty, 60), sixty);
    EXPECT_EQ(shortenPath(sixty, 59), sixty.substr(0, 28) + "..." + sixty.substr(32));
    EXPECT_EQ(shortenPath("", 0), "");
    EXPECT_EQ(shortenPath("abcdef", 2), "...");
    // Characters, not bytes: a cut never splits a letter.
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4";  // 7 letters
    EXPECT_EQ(shortenPath(umlauts, 7), umlauts);
    EXPECT_EQ(shortenPath(umlauts, 6), "\xC3\xA4..." "\xC3\xA4");
}

TEST(FormatDuration, HoursMinutesSecondsAndDays) {
    const struct {
        int64_t millis;
        const char* text;
    } cases[] = {
        {-5, "00:00:00"},         {999, "00:00:00"},          {1000, "00:00:01"},
        {59999, "00:00:59"},      {65000, "00:01:05"},        {3599999, "00:59:59"},
        {3723000, "01:02:03"},    {86399000, "23:59:59"},     {86400000, "1d:00:00:00"},
        {183600000, "2d:03:00:00"}, {int64_t{8640000000000}, "100000d:00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDuration(c.millis), c.text) << c.millis;
}

TEST(FormatDuration, TimeRemainingIsTakenIn64Bits) {
    // The fourth of ten files, the last one took 2.5 seconds: 7 files to go.
    EXPECT_EQ(formatDuration(remainingMillis(2500, 10, 4)), "00:00:17");
    // 3,000,000 ms times 2,000 files is beyond 32 bits.
    EXPECT_EQ(remainingMillis(3000000, 2000, 1), int64_t{6000000000});
    EXPECT_EQ(formatDuration(remainingMillis(3000000, 2000, 1)), "69d:10:40:00");
}

TEST(Targets, FollowTheMakersSite) {
    EXPECT_EQ(manualTarget(), "pixalto.chm");
    EXPECT_EQ(makerSiteTarget(), "https://www.corvane.example/");
    EXPECT_EQ(homepageTarget(), "https://www.corvane.example/pixalto/");
    EXPECT_EQ(uninstallPageTarget(), "https://www.corvane.example/uninstall/pixalto/");
    EXPECT_EQ(supportMailTarget(), "mailto:support@corvane.example");
    EXPECT_EQ(feedbackMailTarget(), "mailto:support@corvane.example?subject=Pixalto 2.9 Feedback");
    EXPECT_EQ(converterSearchTarget("pcx", "jpg"), "https://www.corvane.example/find/pcx-jpg/");
}

TEST(ConverterSearch, NormalisesBothFields) {
    const struct {
        const char* text;
        const char* normalised;
    } cases[] = {
        {" .PCX ", "pcx"},
        {"JPG", "jpg"},
        {"image/x-portable", "imagexport"},
        {".", ""},
        {"ABCDEFGHIJKLMNOP", "abcdefghijkl"},
        // Twelve characters are cut before anything is dropped, letters outside ASCII included.
        {"\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84png", ""},
        {"\xC3\x84tif", "tif"},
    };
    for (const auto& c : cases) EXPECT_EQ(normaliseSearchExtension(c.text), c.normalised) << c.text;
}

TEST(ConverterSearch, OpensThePageOrWarnsAboutEmptyFields) {
    loadLanguage();
    RecordingMessageBoxes boxes;
    RecordingTargetOpener opener;
    EXPECT_TRUE(runConverterSearch(" .PCX ", "JPG", boxes, opener));
    EXPECT_EQ(opener.opened, std::vector<std::string>{"https://www.corvane.example/find/pcx-jpg/"});
    EXPECT_TRUE(boxes.shown.empty());

    EXPECT_FALSE(runConverterSearch(".", "png", boxes, opener));
    EXPECT_FALSE(runConverterSearch("pcx", "  ", boxes, opener));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Warning);
    EXPECT_EQ(boxes.shown[0].text, "Please, fill all required fields and try again!");
    EXPECT_EQ(opener.opened.size(), 1u);
}

}  // namespace
}  // namespace pixalto
