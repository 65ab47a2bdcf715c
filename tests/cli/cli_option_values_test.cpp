// Keys, values, numbers and quoted values as the option scan reads them.
#include <gtest/gtest.h>

#include "cli/option_values.h"

namespace pixalto {
namespace {

TEST(OptionKeyTest, KeysAreUpperCasePartsBeforeTheEqualsSign) {
    const Parameters params = {"--input=c:/a.pcx", "-i", "-i=x", "example.pcx", "  --Jpg-Quality=90 ",
                               "--flip-vertical", "", "--=x", "-", "--wm-text=a=b"};
    const char* expected[] = {"--INPUT", "-I", "-I=X", "", "--JPG-QUALITY", "--FLIP-VERTICAL", "", "--", "-",
                              "--WM-TEXT"};
    for (size_t i = 0; i < params.size(); ++i) EXPECT_EQ(optionKey(params, i), expected[i]) << params[i];
    EXPECT_EQ(optionKey(params, params.size()), "");
}

TEST(OptionValueTest, ValuesKeepTheirCaseAndFollowTheFirstEqualsSign) {
    const Parameters params = {"--input=C:/A.pcx", "-i", "Photo.PCX", " --wm-text=a=b ", "--jpg-quality",
                               "-x=1", "--=v", "--wm-text="};
    const char* expected[] = {"C:/A.pcx", "-i", "Photo.PCX", "a=b", "--jpg-quality", "-x=1", "v", ""};
    for (size_t i = 0; i < params.size(); ++i) EXPECT_EQ(optionValue(params, i), expected[i]) << params[i];
    EXPECT_EQ(optionValue(params, params.size()), "");
    EXPECT_EQ(optionValue(params, 1000), "");
}

TEST(ReadNumberTest, ReadsSignsBasesAndStopsAtTheFirstOtherCharacter) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"90", 90},
        {"$18", 24},
        {"$ff", 255},
        {"$FF", 255},
        {"%1010", 10},
        {"%102", 2},
        {"24bit", 24},
        {"abc", 0},
        {"", 0},
        {"$", 0},
        {"%", 0},
        {"-", 0},
        {"+7", 7},
        {"-15", -15},
        {"-$10", -16},
        {" \t 42", 42},
        {"  -3x", -3},
        {"4 2", 4},
        {"1.9", 1},
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"-2147483648", INT32_MIN},
        {"4294967296", 0},
        {"4294967297", 1},
        {"99999999999", 1215752191},
        {"$FFFFFFFF", -1},
        {"$1FFFFFFFF", -1},
        {"99999999999999999999999999999999999999", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(readNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadDecimalTest, AcceptsOnlyWholeFiniteNumbers) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"1.5", 1.5f}, {"0.01", 0.01f}, {"9.99", 9.99f}, {"10", 10.0f}, {" 2.5 ", 2.5f}, {"+2", 2.0f},
        {"-0.5", -0.5f}, {".5", 0.5f}, {"1e1", 10.0f}, {"1,5", 0.0f}, {"abc", 0.0f}, {"", 0.0f},
        {"1.5x", 0.0f}, {"inf", 0.0f}, {"nan", 0.0f}, {"1e99", 0.0f}, {"+-1", 0.0f},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(readDecimal(c.text), c.value) << '"' << c.text << '"';
}

struct ValueCase {
    Parameters params;
    size_t start;
    OptionKind kind;
    bool ok;
    std::string value;
    size_t end;  // parameter number after reading
};

TEST(ReadOptionValueTest, ReadsByKindAndJoinsQuotedParts) {
    const ValueCase cases[] = {
        // Short forms take the next parameter.
        {{"-i", "a.pcx"}, 0, OptionKind::Path, true, "a.pcx", 1},
        {{"-i", "-o"}, 0, OptionKind::Path, false, "", 1},
        {{"-i"}, 0, OptionKind::Path, false, "", 1},
        {{"-c", "jpg"}, 0, OptionKind::Extension, true, "jpg", 1},
        // Long forms take the part after "=".
        {{"--input=a.pcx"}, 0, OptionKind::Path, true, "a.pcx", 0},
        {{"--input=-x.pcx"}, 0, OptionKind::Path, false, "", 0},
        {{"--input"}, 0, OptionKind::Path, false, "", 0},
        {{"--input="}, 0, OptionKind::Path, false, "", 0},
        {{"--wm-text=-x"}, 0, OptionKind::Text, true, "-x", 0},
        {{"--wm-text=--x"}, 0, OptionKind::Text, false, "", 0},
        {{"--jpg-quality"}, 0, OptionKind::Number, false, "", 0},
        {{"--jpg-quality="}, 0, OptionKind::Number, false, "", 0},
        {{"--gamma=-1"}, 0, OptionKind::Decimal, true, "-1", 0},
        {{"--dither=\"bayer8\""}, 0, OptionKind::Keyword, true, "\"bayer8\"", 0},
        {{"--png-interlaced=0"}, 0, OptionKind::Switch, true, "", 0},
        // Quoted values spanning several parameters.
        {{"-i", "\"/my", "pictures/a", "b.pcx\"", "-o", "x"}, 0, OptionKind::Path, true, "/my pictures/a b.pcx", 3},
        {{"--wm-text=\"Hello", "big", "world\"", "-i"}, 0, OptionKind::Text, true, "Hello big world", 2},
        {{"--wm-text=\"a\"b\""}, 0, OptionKind::Text, true, "a\"b", 0},
        {{"--wm-text=\"\"\"x\"\""}, 0, OptionKind::Text, true, "x", 0},
        {{"--wm-text=\""}, 0, OptionKind::Text, true, "", 0},
        // An unmatched quote swallows the rest.
        {{"--wm-text=\"open", "-i", "a.pcx"}, 0, OptionKind::Text, true, "open -i a.pcx", 2},
        // Extensions lose their quotes but are never joined.
        {{"-c", "\"jpg", "x\""}, 0, OptionKind::Extension, true, "jpg", 1},
        // Later parts contribute their value part.
        {{"--wm-text=\"a", "--b=c\""}, 0, OptionKind::Text, true, "a c", 1},
    };
    for (const ValueCase& c : cases) {
        size_t i = c.start;
        std::string value = "stale";
        const bool ok = readOptionValue(c.params, i, c.kind, value);
        const std::string label = c.params.front() + (c.params.size() > 1 ? " " + c.params[1] : "");
        EXPECT_EQ(ok, c.ok) << label;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << label;
        }
        EXPECT_EQ(i, c.end) << label;
    }
}

}  // namespace
}  // namespace pixalto
