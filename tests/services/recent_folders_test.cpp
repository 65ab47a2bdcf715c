#include "services/recent_folders.h"

#include <gtest/gtest.h>

#include "core/general_settings.h"
#include "core/run_state.h"

namespace pixalto {
namespace {

TEST(RecentFolders, NewestFirstCappedAndWithoutOtherSpellings) {
    std::string recent;
    for (const char* folder : {"/f1/", "/f2/", "/f3/", "/f4/", "/f5/"}) EXPECT_TRUE(pushRecentFolder(recent, 5, folder));
    EXPECT_EQ(recent, "/f5/\t/f4/\t/f3/\t/f2/\t/f1/");

    EXPECT_TRUE(pushRecentFolder(recent, 5, "/f6/"));  // a sixth drops the oldest
    EXPECT_EQ(recent, "/f6/\t/f5/\t/f4/\t/f3/\t/f2/");

    EXPECT_TRUE(pushRecentFolder(recent, 5, "/F3/"));  // the same folder in other letters moves to the front
    EXPECT_EQ(recent, "/F3/\t/f6/\t/f5/\t/f4/\t/f2/");

    EXPECT_TRUE(pushRecentFolder(recent, 2, "/f4/"));
    EXPECT_EQ(recent, "/f4/\t/F3/");

    EXPECT_FALSE(pushRecentFolder(recent, 5, ""));
    EXPECT_FALSE(pushRecentFolder(recent, 5, "   "));
    EXPECT_FALSE(pushRecentFolder(recent, 5, "/a\tb/"));  // the list could not hold it
    EXPECT_EQ(recent, "/f4/\t/F3/");
}

TEST(RecentFolders, LettersOutsideAsciiMatchInEitherCase) {
    EXPECT_EQ(recentFolderIdentity("/bilder/\xC3\xA4rger/"), recentFolderIdentity("/BILDER/\xC3\x84RGER/"));
    EXPECT_NE(recentFolderIdentity("/a/"), recentFolderIdentity("/b/"));
    std::string recent = "/bilder/\xC3\xA4rger/\t/x/";
    EXPECT_TRUE(pushRecentFolder(recent, 5, "/Bilder/\xC3\x84rger/"));
    EXPECT_EQ(recent, "/Bilder/\xC3\x84rger/\t/x/");
}

TEST(RecentFolders, BlankAndEmptyFieldsOfAnOldListAreDropped) {
    std::string recent = " /a/ \t\t  \t/b/\t/c/";
    EXPECT_TRUE(pushRecentFolder(recent, 5, "/n/"));
    EXPECT_EQ(recent, "/n/\t/a/\t/b/\t/c/");
    // Only the first outFoldersNumber fields are looked at, empty ones included.
    recent = " /a/ \t\t  \t/b/\t/c/";
    EXPECT_TRUE(pushRecentFolder(recent, 3, "/n/"));
    EXPECT_EQ(recent, "/n/\t/a/");
}

TEST(OutputFolderList, TakesTheRecentEntriesAndSelectsTheOutputFolder) {
    const OutputFolderRefill unchanged = refillOutputFolders("", 5, "/a/");
    EXPECT_FALSE(unchanged.changed);

    OutputFolderRefill refill = refillOutputFolders(" /a/ \t\t/b/\t/c/\t/d/", 3, "/b/");
    EXPECT_TRUE(refill.changed);
    EXPECT_EQ(refill.choice.entries, (std::vector<std::string>{"/a/", "/b/"}));  // fields 1 to 3, empty ones skipped
    EXPECT_EQ(refill.choice.selected, 1);

    refill = refillOutputFolders("/a/\t/b/", 5, "/B/");  // the selection compares exactly
    EXPECT_EQ(refill.choice.selected, 0);

    refill = refillOutputFolders("\t \t", 5, "");
    EXPECT_TRUE(refill.changed);
    EXPECT_TRUE(refill.choice.entries.empty());
    EXPECT_EQ(refill.choice.selected, -1);
}

TEST(RecentFolders, TheProcessSettingsAreUsedAndForgottenWithoutHistory) {
    conversionSettings().outFoldersNumber = 2;
    generalSettings().recentOutFolders = "/a/\t/b/";
    EXPECT_TRUE(pushRecentFolder("/c/"));
    EXPECT_EQ(generalSettings().recentOutFolders, "/c/\t/a/");

    conversionSettings().outFoldersHistory = 1;
    forgetRecentFoldersWithoutHistory();
    EXPECT_EQ(generalSettings().recentOutFolders, "/c/\t/a/");
    conversionSettings().outFoldersHistory = 0;
    forgetRecentFoldersWithoutHistory();
    EXPECT_EQ(generalSettings().recentOutFolders, "");
}

}  // namespace
}  // namespace pixalto
