// The bit-depth step: every row of its table, on pictures made in memory.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include "engine/transforms/transforms.h"

namespace pixalto {
namespace {

// A 24-bit picture with many colours (a colour ramp).
Bitmap colourfulPicture() {
    Bitmap bitmap(FreeImage_Allocate(48, 32, 24));
    for (unsigned y = 0; y < 32; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap.get(), static_cast<int>(y));
        for (unsigned x = 0; x < 48; ++x) {
            line[x * 3 + FI_RGBA_RED] = static_cast<BYTE>(x * 5);
            line[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>(y * 8);
            line[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>((x * y) & 0xFF);
        }
    }
    return bitmap;
}

Bitmap pictureOfDepth(unsigned bpp) {
    Bitmap bitmap = colourfulPicture();
    switch (bpp) {
    case 1: return bitmap.then([](FIBITMAP* d) { return FreeImage_Threshold(d, 128); });
    case 4: return bitmap.then(FreeImage_ConvertTo4Bits);
    case 8: return bitmap.then([](FIBITMAP* d) { return FreeImage_ColorQuantize(d, FIQ_WUQUANT); });
    case 32: return bitmap.then(FreeImage_ConvertTo32Bits);
    case 48: return bitmap.then(FreeImage_ConvertToRGB16);
    default: return bitmap;
    }
}

struct DepthCase {
    unsigned from;
    int target;
    const char* extension;
    unsigned bpp;
    FREE_IMAGE_TYPE type;
    FREE_IMAGE_COLOR_TYPE colour;
};

TEST(BitDepthTable, ConvertsToEveryDepthOfTheTable) {
    const DepthCase cases[] = {
        {24, 1, "png", 1, FIT_BITMAP, FIC_MINISBLACK},
        {32, 1, "wbmp", 1, FIT_BITMAP, FIC_MINISBLACK},
        {24, 4, "bmp", 4, FIT_BITMAP, FIC_PALETTE},      // 16 grey levels
        {24, 8, "jpg", 8, FIT_BITMAP, FIC_MINISBLACK},   // greyscale for JPEG
        {24, 8, "bmp", 8, FIT_BITMAP, FIC_PALETTE},      // Wu colour quantising for the rest
        {4, 8, "gif", 8, FIT_BITMAP, FIC_PALETTE},       // via 24 bits
        {48, 8, "tga", 8, FIT_BITMAP, FIC_PALETTE},
        {8, 8, "jp2", 8, FIT_BITMAP, FIC_MINISBLACK},    // a palette picture made grey for JPEG-2000
        {8, 8, "pgm", 8, FIT_BITMAP, FIC_MINISBLACK},    // and for PGM
        {8, 8, "bmp", 8, FIT_BITMAP, FIC_PALETTE},       // depth already right: unchanged
        {24, 16, "bmp", 16, FIT_BITMAP, FIC_RGB},
        {48, 16, "tga", 16, FIT_BITMAP, FIC_RGB},
        {1, 24, "xpm", 24, FIT_BITMAP, FIC_RGB},
        {8, 32, "dds", 32, FIT_BITMAP, FIC_RGB},
        {24, 48, "png", 48, FIT_RGB16, FIC_RGB},
        {24, 96, "exr", 96, FIT_RGBF, FIC_RGB},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " bits to " + std::to_string(c.target) + " for " + c.extension);
        Bitmap result = convertBitDepth(pictureOfDepth(c.from), c.target, c.extension);
        ASSERT_TRUE(result);
        EXPECT_EQ(result.bpp(), c.bpp);
        EXPECT_EQ(FreeImage_GetImageType(result.get()), c.type);
        EXPECT_EQ(FreeImage_GetColorType(result.get()), c.colour);
        EXPECT_EQ(result.width(), 48u);
        EXPECT_EQ(result.height(), 32u);
    }
}

TEST(BitDepthTable, SixteenBitsAre555ForIconsAndTargaAnd565Otherwise) {
    const std::pair<const char*, unsigned> cases[] = {
        {"ico", FI16_555_GREEN_MASK}, {"tga", FI16_555_GREEN_MASK}, {"bmp", FI16_565_GREEN_MASK}, {"jxr", FI16_565_GREEN_MASK}};
    for (const auto& [ext, greenMask] : cases) {
        Bitmap result = convertBitDepth(pictureOfDepth(24), 16, ext);
        ASSERT_TRUE(result) << ext;
        EXPECT_EQ(FreeImage_GetGreenMask(result.get()), greenMask) << ext;
    }
    // A 16-bit picture is never converted between the two layouts.
    Bitmap already = convertBitDepth(pictureOfDepth(24), 16, "bmp");
    FIBITMAP* before = already.get();
    Bitmap same = convertBitDepth(std::move(already), 16, "tga");
    EXPECT_EQ(same.get(), before);
}

TEST(BitDepthTable, WuQuantisingKeepsAFewColoursExactly) {
    // Eight colours far apart survive quantising to 256 colours unchanged.
    Bitmap bitmap(FreeImage_Allocate(16, 8, 24));
    for (unsigned y = 0; y < 8; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap.get(), static_cast<int>(y));
        for (unsigned x = 0; x < 16; ++x) {
            line[x * 3 + FI_RGBA_RED] = (x & 1) ? 255 : 0;
            line[x * 3 + FI_RGBA_GREEN] = (x & 2) ? 255 : 0;
            line[x * 3 + FI_RGBA_BLUE] = (x & 4) ? 255 : 0;
        }
    }
    Bitmap result = convertBitDepth(std::move(bitmap), 8, "gif");
    ASSERT_TRUE(result);
    const RGBQUAD* palette = FreeImage_GetPalette(result.get());
    for (unsigned x = 0; x < 16; ++x) {
        BYTE index = 0;
        ASSERT_TRUE(FreeImage_GetPixelIndex(result.get(), x, 3, &index));
        const RGBQUAD& colour = palette[index];
        EXPECT_EQ(colour.rgbRed, (x & 1) ? 255 : 0);
        EXPECT_EQ(colour.rgbGreen, (x & 2) ? 255 : 0);
        EXPECT_EQ(colour.rgbBlue, (x & 4) ? 255 : 0);
    }
}

TEST(BitDepthTable, DepthsOutsideTheTableGiveNoBitmap) {
    for (int target : {0, 2, 7, 12, 64, 128, -1}) EXPECT_FALSE(convertBitDepth(pictureOfDepth(24), target, "png")) << target;
    EXPECT_FALSE(convertBitDepth(Bitmap(), 24, "png"));
}

}  // namespace
}  // namespace pixalto
