#include "config/ini_file.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace pixalto {
namespace {

TEST(IniFile, ReadsGroupsKeysAndValuesLoosely) {
    const IniFile ini = parseIni(
        "\xEF\xBB\xBF; comment\r\n"
        "[Cli]\r\n"
        "  --JPG-Quality  =  80 \r\n"
        "# another comment\n"
        "--wm-text = \"a b\"\t\n"
        "no equals sign here\n"
        "--jpg-quality=10\n"
        "[Other]\n"
        "x=1");
    ASSERT_EQ(ini.groups.size(), 2u);
    EXPECT_EQ(ini.value("CLI", "--jpg-quality"), "80");  // first of duplicates
    EXPECT_EQ(ini.value("cli", "--WM-TEXT"), "\"a b\"");
    EXPECT_EQ(ini.value("OTHER", "X"), "1");  // last line without newline
    EXPECT_FALSE(ini.value("CLI", "no equals sign here"));
    EXPECT_FALSE(ini.value("Missing", "x"));
}

TEST(IniFile, KeysBeforeAnyGroupAndBinaryGarbageAreIgnored) {
    std::string garbage = "k=v\n";
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>(i * 37));
    garbage += "\n[G]\nk = v";
    const IniFile ini = parseIni(garbage);
    EXPECT_EQ(ini.value("G", "k"), "v");
    EXPECT_TRUE(parseIni("").groups.empty());
    EXPECT_TRUE(parseIni("[unclosed\nk=v").group("unclosed"));
}

TEST(IniFile, UnreadableFileGivesFalse) {
    IniFile ini;
    EXPECT_FALSE(readIniFile("/nonexistent/file.ini", ini));
    test::TempDir dir;
    EXPECT_FALSE(readIniFile(dir.str(), ini));  // a folder is not a file
    test::writeFile(dir / "p.ini", "[CLI]\n--q=1\n");
    ASSERT_TRUE(readIniFile((dir / "p.ini").string(), ini));
    EXPECT_EQ(ini.value("cli", "--Q"), "1");
}

}  // namespace
}  // namespace pixalto
