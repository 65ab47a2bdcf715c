#include "core/conversion_settings.h"
#include "core/format_catalogue.h"
#include "platform/dates.h"

#include <gtest/gtest.h>

namespace pixalto {
namespace {

TEST(FormatCatalogue, TablesHaveTheirEntriesInOrder) {
    ASSERT_EQ(outputExtensions().size(), 23u);
    EXPECT_EQ(outputExtensions().front(), "bmp");
    EXPECT_EQ(outputExtensions().back(), "xpm");
    EXPECT_EQ(inputKinds().size(), 79u);
    EXPECT_STREQ(findInputKind("apm")->description, "Aldus Placeable Metafile");
    EXPECT_STREQ(findInputKind("apm")->group, "wmf");
    EXPECT_STREQ(findInputKind("jpeg")->group, "jpg");
    EXPECT_STREQ(findInputKind("sr2")->description, "Sony Camera RAW Image");
    EXPECT_STREQ(findInputKind("raw2")->description, "Camera RAW Image");
    EXPECT_EQ(findOutputFormat("psd")->writer, Writer::DevIL);
    EXPECT_EQ(findOutputFormat("psd")->formatId, 0x0439);
    EXPECT_EQ(findOutputFormat("webp")->formatId, 35);
}

TEST(FormatCatalogue, AcceptsPcxOnly) {
    EXPECT_EQ(acceptedInputExtensions(), std::vector<std::string>{"pcx"});
}

TEST(FormatCatalogue, AutomaticDepthAndValidity) {
    EXPECT_EQ(chooseAutoBitDepth("tiff", 16), 24);
    EXPECT_EQ(chooseAutoBitDepth("tiff", 128), 96);
    EXPECT_EQ(chooseAutoBitDepth("xpm", 1), 24);
    EXPECT_EQ(chooseAutoBitDepth("png", 8), 8);
    EXPECT_FALSE(isBitDepthAllowed("png", 16));
    for (const char* ext : {"bmp", "ico", "jxr", "tga"}) EXPECT_TRUE(isBitDepthAllowed(ext, 16)) << ext;
    EXPECT_TRUE(isBitDepthAllowed("wbmp", 0));
    EXPECT_FALSE(isBitDepthAllowed("nope", 8));
}

TEST(FormatCatalogue, DisplayLabel) {
    EXPECT_EQ(outputFormatLabel("tiff"), "TIFF (Tagged Image File Format)");
    EXPECT_EQ(outputFormatLabel("png"), "PNG (Portable Network Graphics)");
}

TEST(ConversionSettings, DefaultsDependOnFlavourAndTime) {
    ConversionSettings s;
    s.jpgQuality = 3;
    const int64_t before = localDateValueNow();
    applyDefaults(s, true);
    const int64_t after = localDateValueNow();
    EXPECT_EQ(s.jpgQuality, 95);
    EXPECT_EQ(s.keepAspectRatio, 0);
    EXPECT_EQ(s.wmBackOpacity, 1);
    EXPECT_EQ(s.wmText, kRightsNotice);
    EXPECT_GE(s.customTimestamp, before);
    EXPECT_LE(s.customTimestamp, after);
    applyDefaults(s, false);
    EXPECT_EQ(s.keepAspectRatio, 1);
}

TEST(ConversionSettings, FontAttributes) {
    EXPECT_EQ(fontAttributesFor(3, 2), (FontAttributes{true, true, false, true}));
    EXPECT_EQ(fontAttributesFor(1, 1), (FontAttributes{true, false, true, false}));
    EXPECT_EQ(fontAttributesFor(0, 0), FontAttributes{});
}

}  // namespace
}  // namespace pixalto
