#include <gtest/gtest.h>

#include "engine/naming/text_case.h"

namespace pixalto {
namespace {

TEST(TextCase, MapsUnicodeLettersAndKeepsEverythingElse) {
    const struct {
        const char* text;
        const char* upper;
        const char* lower;
        const char* title;
    } cases[] = {
        {"sUnSet", "SUNSET", "sunset", "Sunset"},
        {"", "", "", ""},
        {"éCOLE 1-2", "ÉCOLE 1-2", "école 1-2", "École 1-2"},
        {"straße", "STRASSE", "straße", "Straße"},
        {"ΣΟΦΊΑ", "ΣΟΦΊΑ", "σοφία", "Σοφία"},
        {"ǆemal", "ǄEMAL", "ǆemal", "ǅemal"},                 // title case differs from upper case here
        {"\xF0\x90\x90\xA8x", "\xF0\x90\x90\x80X", "\xF0\x90\x90\xA8x", "\xF0\x90\x90\x80x"},  // outside the BMP
        {"\xEF\xBB\xBF" "ab", "\xEF\xBB\xBF" "AB", "\xEF\xBB\xBF" "ab", "\xEF\xBB\xBF" "ab"},  // a leading BOM stays
        {"x\xC3(y", "X\xC3(Y", "x\xC3(y", "X\xC3(y"},         // invalid UTF-8: ASCII letters only
        {"\xED\xA0\x80z", "\xED\xA0\x80Z", "\xED\xA0\x80z", "\xED\xA0\x80z"},  // an encoded surrogate is invalid
    };
    for (const auto& c : cases) {
        EXPECT_EQ(upperText(c.text), c.upper) << c.text;
        EXPECT_EQ(lowerText(c.text), c.lower) << c.text;
        EXPECT_EQ(titleText(c.text), c.title) << c.text;
    }
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(upperText(withNul), std::string("A\0B", 3));
}

TEST(TextCase, RecognisesValidUtf8) {
    EXPECT_TRUE(isValidUtf8("plain ASCII"));
    EXPECT_TRUE(isValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));
}

}  // namespace
}  // namespace pixalto
