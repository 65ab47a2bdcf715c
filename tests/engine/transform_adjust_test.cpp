// Colour correction, greyscale, threshold and dither give what FreeImage's
// own calls give on the same input, after the depth conversions they need.
#include <gtest/gtest.h>

#include "engine/transforms/transforms.h"
#include "picture_test_helpers.h"

namespace pixalto {
namespace {

using test::noisePicture;
using test::samePixels;

// Noise at the depths a loaded picture may have.
Bitmap noiseAtDepth(unsigned bpp, unsigned seed = 9) {
    Bitmap noise = noisePicture(47, 31, seed);
    switch (bpp) {
    case 1: return noise.then([](FIBITMAP* d) { return FreeImage_Threshold(d, 128); });
    case 4: return noise.then(FreeImage_ConvertTo4Bits);
    case 8: return noise.then(FreeImage_ConvertTo8Bits);
    case 32: return noise.then(FreeImage_ConvertTo32Bits);
    case 48: return noise.then(FreeImage_ConvertToRGB16);
    default: return noise;
    }
}

// FreeImage's result for the input converted to 24 bits when asked.
template <typename F>
Bitmap reference(unsigned bpp, bool to24, F&& call) {
    Bitmap input = noiseAtDepth(bpp);
    if (to24) input = input.then(FreeImage_ConvertTo24Bits);
    return input.then(call);
}

TEST(TransformAdjust, GreyscaleIsEightBitsAsFreeImageMakesThem) {
    ConversionSettings s;
    s.doImageGreyscale = 1;
    for (unsigned bpp : {1u, 4u, 8u, 24u, 32u, 48u}) {
        Bitmap grey = convertToGreyscale(noiseAtDepth(bpp), s);
        ASSERT_TRUE(grey) << bpp;
        EXPECT_EQ(grey.bpp(), 8u);
        EXPECT_TRUE(samePixels(grey, reference(bpp, bpp > 32, FreeImage_ConvertToGreyscale))) << bpp;
    }
}

TEST(TransformAdjust, ThresholdUsesTheLowByteAndEndsAtOneBit) {
    for (unsigned bpp : {1u, 4u, 8u, 24u, 32u, 48u}) {
        for (int level : {0, 100, 300, -1}) {
            ConversionSettings s;
            s.doImageThreshold = 1;
            s.imageThreshold = level;
            Bitmap result = applyThreshold(noiseAtDepth(bpp), s);
            ASSERT_TRUE(result) << bpp;
            EXPECT_EQ(result.bpp(), 1u);
            const BYTE low = static_cast<BYTE>(level & 0xFF);
            Bitmap expected = reference(bpp, bpp < 4 || bpp > 32,
                                        [low](FIBITMAP* d) { return FreeImage_Threshold(d, low); });
            EXPECT_TRUE(samePixels(result, expected)) << bpp << " level " << level;
        }
    }
}

TEST(TransformAdjust, DitherAlgorithmTable) {
    const struct {
        int code;
        FREE_IMAGE_DITHER algorithm;
    } table[] = {{0, FID_FS},           {1, FID_BAYER4x4},    {2, FID_BAYER8x8},      {3, FID_BAYER16x16},
                 {4, FID_CLUSTER6x6},   {5, FID_CLUSTER8x8},  {6, FID_CLUSTER16x16},  {7, FID_FS},
                 {-3, FID_FS}};
    for (const auto& row : table) {
        for (unsigned bpp : {1u, 8u, 24u}) {
            ConversionSettings s;
            s.doImageDither = 1;
            s.imageDitherAlgorithm = static_cast<int8_t>(row.code);
            Bitmap result = applyDither(noiseAtDepth(bpp), s);
            ASSERT_TRUE(result);
            EXPECT_EQ(result.bpp(), 1u);
            const FREE_IMAGE_DITHER algorithm = row.algorithm;
            Bitmap expected =
                reference(bpp, bpp < 4, [algorithm](FIBITMAP* d) { return FreeImage_Dither(d, algorithm); });
            EXPECT_TRUE(samePixels(result, expected)) << "code " << row.code << " depth " << bpp;
        }
    }
}

TEST(TransformAdjust, ThresholdThenDitherDithersTheBilevelPictureAgain) {
    ConversionSettings s;
    s.doImageThreshold = 1;
    s.imageThreshold = 128;
    s.doImageDither = 1;
    s.imageDitherAlgorithm = 1;
    Bitmap both = applyDither(applyThreshold(noisePicture(47, 31, 4), s), s);
    Bitmap bilevel = noisePicture(47, 31, 4).then([](FIBITMAP* d) { return FreeImage_Threshold(d, 128); });
    Bitmap expected = bilevel.then(FreeImage_ConvertTo24Bits).then([](FIBITMAP* d) {
        return FreeImage_Dither(d, FID_BAYER4x4);
    });
    EXPECT_TRUE(samePixels(both, expected));
}

TEST(TransformAdjust, ColorCorrectionConvertsShallowPicturesFirst) {
    ConversionSettings s;
    s.doImageColorCorrection = 1;
    s.imageBrightness = 20;
    s.imageContrast = -30;
    s.imageGamma = 1.7f;
    s.imageInvert = 1;
    const struct {
        unsigned in;
        unsigned out;
    } cases[] = {{1, 24}, {4, 24}, {8, 8}, {24, 24}, {32, 32}, {48, 24}};
    for (const auto& c : cases) {
        Bitmap result = correctColors(noiseAtDepth(c.in), s);
        ASSERT_TRUE(result) << c.in;
        EXPECT_EQ(result.bpp(), c.out) << c.in;
        Bitmap expected = noiseAtDepth(c.in);
        if (c.in != c.out) expected = expected.then(FreeImage_ConvertTo24Bits);
        FreeImage_AdjustColors(expected.get(), 20, -30, 1.7f, TRUE);
        EXPECT_TRUE(samePixels(result, expected)) << c.in;
    }
}

TEST(TransformAdjust, SwitchedOffStepsKeepTheInput) {
    const ConversionSettings off;
    Bitmap picture = noiseAtDepth(4);
    FIBITMAP* before = picture.get();
    picture = correctColors(std::move(picture), off);
    picture = convertToGreyscale(std::move(picture), off);
    picture = applyThreshold(std::move(picture), off);
    picture = applyDither(std::move(picture), off);
    picture = flipImage(std::move(picture), off);
    picture = resizeImage(std::move(picture), off);
    picture = rotateImage(std::move(picture), off);
    EXPECT_EQ(picture.get(), before);
    // An empty bitmap passes through every step as empty.
    ConversionSettings on;
    on.doImageGreyscale = on.doImageThreshold = on.doImageDither = on.doImageColorCorrection = 1;
    EXPECT_FALSE(applyDither(applyThreshold(convertToGreyscale(correctColors(Bitmap(), on), on), on), on));
}

}  // namespace
}  // namespace pixalto
