// Rotation, resize and flips of the working picture.
#include <gtest/gtest.h>

#include "engine/transforms/picture_helpers.h"
#include "engine/transforms/transforms.h"
#include "picture_test_helpers.h"

namespace pixalto {
namespace {

using test::noisePicture;
using test::pixelAt;
using test::Rgb;
using test::samePixels;
using test::solidPicture;

ConversionSettings rotation(int angle, int type, const std::string& back = "FF0000") {
    ConversionSettings s;
    s.doImageRotation = 1;
    s.imageRotation = angle;
    s.imageRotationType = static_cast<int8_t>(type);
    s.imageRotationBackColor = back;
    return s;
}

TEST(TransformRotate, QuarterTurnSwapsSidesAndDiagonalShowsBackground) {
    const Rgb green{0, 200, 0};
    Bitmap quarter = rotateImage(solidPicture(200, 100, green), rotation(90, 0));
    ASSERT_TRUE(quarter);
    EXPECT_EQ(quarter.width(), 100u);
    EXPECT_EQ(quarter.height(), 200u);
    EXPECT_EQ(pixelAt(quarter, 0, 0), green);

    Bitmap diagonal = rotateImage(solidPicture(200, 100, green), rotation(45, 0));
    ASSERT_TRUE(diagonal);
    EXPECT_GT(diagonal.width(), 200u);
    EXPECT_GT(diagonal.height(), 100u);
    const int w = static_cast<int>(diagonal.width());
    const int h = static_cast<int>(diagonal.height());
    const Rgb red{255, 0, 0};
    EXPECT_EQ(pixelAt(diagonal, 0, 0), red);
    EXPECT_EQ(pixelAt(diagonal, w - 1, 0), red);
    EXPECT_EQ(pixelAt(diagonal, 0, h - 1), red);
    EXPECT_EQ(pixelAt(diagonal, w - 1, h - 1), red);
    EXPECT_EQ(pixelAt(diagonal, w / 2, h / 2), green);
}

TEST(TransformRotate, BadBackgroundTextGivesBlackCorners) {
    for (const char* back : {"FF00", "FF00GG", "FF00000"}) {
        Bitmap turned = rotateImage(solidPicture(60, 40, {0, 200, 0}), rotation(45, 0, back));
        ASSERT_TRUE(turned) << back;
        EXPECT_EQ(pixelAt(turned, 0, 0), (Rgb{0, 0, 0})) << back;
    }
}

TEST(TransformRotate, AdvancedTurnsAboutTheCentreOnTheSameCanvas) {
    for (int angle : {45, 90, 359}) {
        Bitmap turned = rotateImage(noisePicture(200, 100), rotation(angle, 1));
        ASSERT_TRUE(turned) << angle;
        EXPECT_EQ(turned.width(), 200u);
        EXPECT_EQ(turned.height(), 100u);
    }
    // Same as FreeImage's own call about the centre.
    Bitmap source = noisePicture(200, 100, 3);
    Bitmap expected(FreeImage_RotateEx(source.get(), 30, 0.0, 0.0, 100.0, 50.0, FALSE));
    EXPECT_TRUE(samePixels(rotateImage(std::move(source), rotation(30, 1)), expected));
}

TEST(TransformRotate, DepthsOfSixteenOrLessBecomeTwentyFourBits) {
    const struct {
        unsigned in;
        unsigned out;
    } cases[] = {{1, 24}, {4, 24}, {8, 24}, {24, 24}, {32, 32}};
    for (const auto& c : cases) {
        for (int type : {0, 1}) {
            Bitmap picture(FreeImage_Allocate(40, 20, c.in));
            Bitmap turned = rotateImage(std::move(picture), rotation(90, type));
            ASSERT_TRUE(turned) << c.in;
            EXPECT_EQ(turned.bpp(), c.out) << c.in << " type " << type;
        }
    }
    // An unknown type converts but does not turn.
    Bitmap unknown = rotateImage(Bitmap(FreeImage_Allocate(40, 20, 8)), rotation(90, 5));
    EXPECT_EQ(unknown.bpp(), 24u);
    EXPECT_EQ(unknown.width(), 40u);
}

TEST(TransformRotate, AnglesOutsideTheOpenCircleDoNothing) {
    for (int angle : {0, 360, -90, 450, 100000, INT32_MIN, INT32_MAX}) {
        Bitmap picture(FreeImage_Allocate(40, 20, 8));
        FIBITMAP* before = picture.get();
        Bitmap result = rotateImage(std::move(picture), rotation(angle, 0));
        EXPECT_EQ(result.get(), before) << angle;
    }
    ConversionSettings off = rotation(90, 0);
    off.doImageRotation = 0;
    Bitmap picture(FreeImage_Allocate(40, 20, 8));
    FIBITMAP* before = picture.get();
    EXPECT_EQ(rotateImage(std::move(picture), off).get(), before);
}

struct ResizeCase {
    int width, height;
    int targetWidth, widthUnit, targetHeight, heightUnit;
    int keepAspect, resizeType;
    unsigned expectWidth, expectHeight;
};

ConversionSettings resizeSettings(const ResizeCase& c) {
    ConversionSettings s;
    s.doImageResize = 1;
    s.imageWidth = c.targetWidth;
    s.imageWidthUnit = static_cast<int8_t>(c.widthUnit);
    s.imageHeight = c.targetHeight;
    s.imageHeightUnit = static_cast<int8_t>(c.heightUnit);
    s.keepAspectRatio = static_cast<int8_t>(c.keepAspect);
    s.imageResizeType = static_cast<int8_t>(c.resizeType);
    return s;
}

TEST(TransformResize, SizesFromUnitsAspectRatioAndResizeType) {
    const ResizeCase cases[] = {
        {333, 200, 50, 1, 50, 1, 0, 0, 166, 100},    // 166.5 rounds to even
        {335, 200, 50, 1, 50, 1, 0, 0, 168, 100},    // 167.5 rounds to even
        {640, 480, 320, 0, 100, 0, 0, 0, 320, 100},  // pixels, no aspect
        {800, 600, 400, 0, 1, 0, 1, 0, 400, 300},    // landscape: width rules
        {600, 800, 1, 0, 400, 0, 1, 0, 300, 400},    // portrait: height rules
        {300, 100, 200, 0, 200, 0, 1, 0, 200, 67},   // 66.67 rounds up
        {800, 600, 400, 0, 0, 0, 1, 0, 800, 600},    // a zero side: no resize
        {800, 600, -5, 0, 100, 0, 0, 0, 800, 600},   // negative: no resize
        {800, 600, 400, 3, 100, 0, 0, 0, 800, 600},  // unknown unit counts as 0
        {100, 100, 200, 0, 200, 0, 0, 1, 100, 100},  // large images only: not enlarged
        {300, 100, 200, 0, 200, 0, 0, 1, 200, 200},  // larger in one direction
        {300, 100, 200, 0, 200, 0, 1, 1, 200, 67},
        {100, 200, 200, 0, 200, 0, 0, 1, 200, 200},  // equal in one direction is not smaller
        {640, 480, 1, 0, 1, 0, 0, 0, 1, 1},
        {1000, 2, 100, 0, 100, 0, 1, 0, 100, 1},     // never rounded to nothing
    };
    for (const ResizeCase& c : cases) {
        Bitmap result = resizeImage(noisePicture(c.width, c.height), resizeSettings(c));
        ASSERT_TRUE(result) << c.width << "x" << c.height;
        EXPECT_EQ(result.width(), c.expectWidth) << c.width << "x" << c.height << " -> " << c.targetWidth;
        EXPECT_EQ(result.height(), c.expectHeight) << c.width << "x" << c.height << " -> " << c.targetHeight;
    }
}

TEST(TransformResize, SameSizeAndSwitchedOffKeepTheInput) {
    for (int on : {0, 1}) {
        Bitmap picture = noisePicture(64, 48);
        FIBITMAP* before = picture.get();
        ConversionSettings s = resizeSettings({64, 48, 64, 0, 48, 0, 0, 0, 0, 0});
        if (!on) s.imageWidth = 10;
        s.doImageResize = static_cast<int8_t>(on);
        EXPECT_EQ(resizeImage(std::move(picture), s).get(), before);
    }
}

TEST(TransformResize, FilterTableMatchesFreeImage) {
    const FREE_IMAGE_FILTER expected[] = {FILTER_BOX,        FILTER_BILINEAR, FILTER_BSPLINE, FILTER_BICUBIC,
                                          FILTER_CATMULLROM, FILTER_LANCZOS3, FILTER_BICUBIC, FILTER_BICUBIC};
    const int codes[] = {0, 1, 2, 3, 4, 5, 6, -1};
    for (size_t i = 0; i < std::size(codes); ++i) {
        ConversionSettings s = resizeSettings({90, 70, 37, 0, 29, 0, 0, 0, 0, 0});
        s.imageResizeAlgorithm = static_cast<int8_t>(codes[i]);
        Bitmap source = noisePicture(90, 70, 5);
        Bitmap reference(FreeImage_Rescale(source.get(), 37, 29, expected[i]));
        EXPECT_TRUE(samePixels(resizeImage(std::move(source), s), reference)) << "code " << codes[i];
    }
}

TEST(TransformResize, ResultsPastTheMemoryCeilingFailWithoutAllocating) {
    const ResizeCase huge[] = {
        {640, 480, 100000, 0, 100000, 0, 0, 0, 0, 0},
        {640, 480, 2000000000, 1, 100, 1, 0, 0, 0, 0},
        {640, 480, INT32_MAX, 0, 1, 0, 0, 0, 0, 0},
        {640, 480, 100000, 0, 1, 0, 1, 0, 0, 0},  // height follows: 100000 x 75000
    };
    for (const ResizeCase& c : huge) EXPECT_FALSE(resizeImage(noisePicture(c.width, c.height), resizeSettings(c)));
    EXPECT_TRUE(fitsPixelMemory(65536, 65536, 8));  // exactly 4 GiB
    EXPECT_FALSE(fitsPixelMemory(65537, 65536, 8));
    EXPECT_TRUE(fitsPixelMemory(65536, 32768, 16));
    EXPECT_FALSE(fitsPixelMemory(0, 10, 8));
}

TEST(TransformFlip, MatchesFreeImageFlipsAtAnyDepth) {
    for (unsigned bpp : {1u, 8u, 24u}) {
        for (int horizontal : {0, 1}) {
            for (int vertical : {0, 1}) {
                Bitmap noise = noisePicture(33, 21, bpp);
                Bitmap source = bpp == 24 ? std::move(noise)
                                          : (bpp == 8 ? noise.then(FreeImage_ConvertToGreyscale)
                                                      : noise.then([](FIBITMAP* d) { return FreeImage_Threshold(d, 128); }));
                Bitmap expected(FreeImage_Clone(source.get()));
                if (horizontal) FreeImage_FlipHorizontal(expected.get());
                if (vertical) FreeImage_FlipVertical(expected.get());
                ConversionSettings s;
                s.doImageFlipHorizontal = static_cast<int8_t>(horizontal);
                s.doImageFlipVertical = static_cast<int8_t>(vertical);
                FIBITMAP* before = source.get();
                Bitmap flipped = flipImage(std::move(source), s);
                EXPECT_EQ(flipped.get(), before);
                EXPECT_TRUE(samePixels(flipped, expected)) << bpp << " " << horizontal << vertical;
            }
        }
    }
}

TEST(TransformColorText, SixHexDigitsOrBlack) {
    EXPECT_EQ(parseColorText("FF8000"), (RgbColor{255, 128, 0}));
    EXPECT_EQ(parseColorText("00ff7f"), (RgbColor{0, 255, 127}));
    for (const char* bad : {"", "FFF", "FF80000", "FF80G0", " FF800", "-10000"})
        EXPECT_EQ(parseColorText(bad), (RgbColor{0, 0, 0})) << bad;
}

}  // namespace
}  // namespace pixalto
