#include "config/language_table.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace pixalto {
namespace {

constexpr const char* kMissing = "%NO_STRING_ERROR%";

class LanguageTable : public ::testing::Test {
protected:
    void SetUp() override { loadLanguage(); }
};

struct Lookup {
    const char* group;
    const char* key;
    const char* text;
};

void expectLookups(std::initializer_list<Lookup> cases) {
    for (const Lookup& c : cases)
        EXPECT_EQ(languageText(c.group, c.key), c.text) << c.group << " / " << c.key;
}

TEST_F(LanguageTable, GroupAndKeyMatchInAnyLetterCase) {
    expectLookups({
        {"msg", "warning", "Warning"},
        {"MSG", "Warning", "Warning"},
        {"Msg", "INSUFFICIENT MEMORY", "Insufficient Memory"},
        {"dIaLoG", "time remaining", "Time Remaining: %s1%"},
    });
}

TEST_F(LanguageTable, KeyThatIsThePrefixOfAnotherIsFoundExactly) {
    expectLookups({
        {"General", "Input File", "Input File:"},
        {"General", "Input Files", "Input Files:"},
        {"Msg", "New Update", "New Update"},
        {"Msg", "New Update Text", "A new version of Pixalto is available! Are you ready to download it right now?"},
        {"Msg", "No Update", "No Update"},
        {"Dialog", "Select Input Files", "Select Input Files"},
        {"Dialog", "Select Input Folder", "Select Input Folder"},
    });
}

TEST_F(LanguageTable, TextsKeepLineBreaksAndPlaceholders) {
    EXPECT_EQ(languageText("Msg", "Invalid input folder"),
              "The following input folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
              "Please, correct the input path and try again!");
    EXPECT_EQ(languageText("Msg", "Ask continue to find"),
              "No matches of %s1% found!\r\n\r\nDo you want to search from the start of the list?");
}

TEST_F(LanguageTable, UnknownGroupsAndKeysYieldTheErrorText) {
    expectLookups({
        {"Nonexistent", "Warning", kMissing},
        {"", "Warning", kMissing},
        {"Msg", "Warnings", kMissing},   // longer than a key
        {"Msg", "Warn", kMissing},       // prefix of a key
        {"Msg", "A", kMissing},          // sorts before every key starting with "A"
        {"Msg", "Zzz", kMissing},        // a first character no key starts with
        {"Msg", "", kMissing},
        {"General", "Warning", kMissing},  // a key of another group
        {"Msg", "\xC3\xA9rror", kMissing},  // non-ASCII first character
    });
}

TEST_F(LanguageTable, EveryLookupUsesItsOwnGroupNotTheCachedOne) {
    expectLookups({
        {"Msg", "Warning", "Warning"},
        {"Dialog", "OK", "OK"},
        {"Msg", "Error", "Error"},
        {"Dialog", "Cancel", "Cancel"},
        {"Dialog", "Error", kMissing},  // right after a "Msg" lookup found "Error"
        {"Msg", "Progress", "(%s1%/%s2%)"},
        {"General", "Convert", "Convert"},
        {"Nonexistent", "Convert", kMissing},
        {"General", "Ready", "Ready"},
    });
}

TEST_F(LanguageTable, LoadingTwiceGivesTheSameTable) {
    const std::pair<const char*, const char*> probes[] = {
        {"Msg", "Files converted"}, {"General", "Preparing"}, {"Dialog", "Defaults"}, {"Msg", "Nope"}};
    std::vector<std::string> once;
    for (const auto& [g, k] : probes) once.push_back(languageText(g, k));
    loadLanguage();
    loadLanguage();
    for (std::size_t i = 0; i < std::size(probes); ++i)
        EXPECT_EQ(languageText(probes[i].first, probes[i].second), once[i]) << probes[i].second;
    EXPECT_EQ(once[0], "Files converted: %s1% of %s2%");
}

TEST_F(LanguageTable, LanguageFileReplacesTextsAndKeepsTheRest) {
    test::TempDir dir;
    test::writeFile(dir / "de.ini", "\xEF\xBB\xBF[msg]\r\nwarning = Warnung\r\nUnknown Key = x\r\n[Nowhere]\r\nError=y\r\n");
    loadLanguage((dir / "de.ini").string());
    expectLookups({
        {"Msg", "Warning", "Warnung"},
        {"Msg", "Error", "Error"},
        {"Msg", "Unknown Key", kMissing},
        {"Dialog", "OK", "OK"},
    });
    loadLanguage((dir / "missing.ini").string());
    EXPECT_EQ(languageText("Msg", "Warning"), "Warning");
}

TEST(FillPlaceholders, ReplacesNonEmptyArgumentsAndLeavesTheOthers) {
    const std::string progress = "(%s1%/%s2%)";
    EXPECT_EQ(fillPlaceholders(progress, "3", "10"), "(3/10)");
    EXPECT_EQ(fillPlaceholders(progress, "3", ""), "(3/%s2%)");
    EXPECT_EQ(fillPlaceholders(progress), progress);
}

TEST(FillPlaceholders, MatchesAnyLetterCaseAndEveryOccurrence) {
    EXPECT_EQ(fillPlaceholders("%S1%-%s1%-%S1%", "x"), "x-x-x");
    EXPECT_EQ(fillPlaceholders("%s4%%S3%%s2%%S1%", "a", "b", "c", "d"), "dcba");
    EXPECT_EQ(fillPlaceholders("%s1% %s5% %s%", "a"), "a %s5% %s%");
}

TEST(FillPlaceholders, LaterArgumentsReplacePlaceholdersBroughtInByEarlierOnes) {
    EXPECT_EQ(fillPlaceholders("%s1%", "<%s2%>", "two"), "<two>");
    EXPECT_EQ(fillPlaceholders("%s2%", "<%s1%>", "two"), "two");  // s1 runs first: nothing to replace then
    EXPECT_EQ(fillPlaceholders("%s1%", "%s1%%s1%"), "%s1%%s1%");   // a value is never searched again
}

TEST(FillPlaceholders, EmptyTextStaysEmpty) { EXPECT_EQ(fillPlaceholders("", "a", "b", "c", "d"), ""); }

}  // namespace
}  // namespace pixalto
