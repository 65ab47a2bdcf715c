// The solid frame: mitred sides over the picture's edges, opacity, depth.
#include <gtest/gtest.h>

#include "engine/drawing_layer.h"
#include "picture_test_helpers.h"

namespace pixalto {
namespace {

using test::pixelAt;
using test::Rgb;
using test::solidPicture;

const Rgb kPicture{10, 20, 30};

ConversionSettings frame(int left, int right, int top, int bottom) {
    ConversionSettings s;
    s.doFrame = 1;
    s.frameSolidLeft = left;
    s.frameSolidRight = right;
    s.frameSolidTop = top;
    s.frameSolidBottom = bottom;
    s.frameSolidLeftColor = "FF0000";
    s.frameSolidRightColor = "00FF00";
    s.frameSolidTopColor = "0000FF";
    s.frameSolidBottomColor = "FFFF00";
    return s;
}

TEST(RenderFrame, SingleSideIsAPlainBandOverTheWholeHeight) {
    Bitmap framed = drawFrame(solidPicture(100, 50, kPicture), frame(10, 0, 0, 0));
    ASSERT_TRUE(framed);
    ASSERT_EQ(framed.width(), 100u);
    ASSERT_EQ(framed.height(), 50u);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            const Rgb expected = x < 10 ? Rgb{255, 0, 0} : kPicture;
            ASSERT_EQ(pixelAt(framed, x, y), expected) << x << "," << y;
        }
    }
}

TEST(RenderFrame, FourSidesMeetOnTheDiagonals) {
    Bitmap framed = drawFrame(solidPicture(100, 100, kPicture), frame(20, 20, 20, 20));
    ASSERT_TRUE(framed);
    const Rgb left{255, 0, 0}, right{0, 255, 0}, top{0, 0, 255}, bottom{255, 255, 0};
    const struct {
        int x, y;
        Rgb color;
    } probes[] = {
        {50, 5, top},     {95, 50, right},  {50, 95, bottom}, {5, 50, left},     // middle of each side
        {12, 4, top},     {4, 12, left},                                         // top-left corner square
        {87, 4, top},     {95, 12, right},                                       // top-right
        {95, 87, right},  {87, 95, bottom},                                      // bottom-right
        {12, 95, bottom}, {4, 87, left},                                         // bottom-left
        {50, 50, kPicture}, {20, 20, kPicture}, {79, 79, kPicture},              // inside untouched
    };
    for (const auto& p : probes) EXPECT_EQ(pixelAt(framed, p.x, p.y), p.color) << p.x << "," << p.y;
    // On a corner's diagonal the two sides blend.
    const Rgb seam = pixelAt(framed, 10, 10);
    EXPECT_GT(seam.red, 0);
    EXPECT_GT(seam.blue, 0);
}

TEST(RenderFrame, OpacityGivesHalfStrengthAndLeavesTheInsideAlone) {
    ConversionSettings s = frame(8, 8, 8, 8);
    s.frameSolidLeftColor = s.frameSolidRightColor = s.frameSolidTopColor = s.frameSolidBottomColor = "FFFFFF";
    s.frameSolidOpacity = 128;
    Bitmap framed = drawFrame(solidPicture(40, 30, {0, 0, 0}), s);
    ASSERT_TRUE(framed);
    for (const auto& [x, y] : {std::pair{3, 15}, {20, 2}, {37, 15}, {20, 27}}) {
        const Rgb edge = pixelAt(framed, x, y);
        EXPECT_NEAR(edge.red, 128, 1) << x << "," << y;
        EXPECT_EQ(edge.red, edge.green);
        EXPECT_EQ(edge.red, edge.blue);
    }
    for (int y = 8; y < 22; ++y)
        for (int x = 8; x < 32; ++x) ASSERT_EQ(pixelAt(framed, x, y), (Rgb{0, 0, 0})) << x << "," << y;

    s.frameSolidOpacity = 0;
    Bitmap invisible = drawFrame(solidPicture(40, 30, kPicture), s);
    EXPECT_EQ(pixelAt(invisible, 2, 2), kPicture);
}

TEST(RenderFrame, ShallowPicturesBecomeTwentyFourBits) {
    for (unsigned bpp : {1u, 8u, 32u}) {
        Bitmap framed = drawFrame(Bitmap(FreeImage_Allocate(30, 20, bpp)), frame(3, 3, 3, 3));
        ASSERT_TRUE(framed) << bpp;
        EXPECT_EQ(framed.bpp(), 24u) << bpp;
    }
    // A frame kind other than solid converts but draws nothing.
    ConversionSettings other = frame(3, 3, 3, 3);
    other.doFrame = 2;
    Bitmap plain = drawFrame(Bitmap(FreeImage_Allocate(30, 20, 8)), other);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain.bpp(), 24u);
    EXPECT_EQ(pixelAt(plain, 0, 0), (Rgb{0, 0, 0}));
    // Switched off: the very same bitmap.
    Bitmap picture = solidPicture(30, 20, kPicture);
    FIBITMAP* before = picture.get();
    EXPECT_EQ(drawFrame(std::move(picture), ConversionSettings{}).get(), before);
}

TEST(RenderFrame, OddWidthsAndColoursNeverBreakThePicture) {
    const struct {
        int left, right, top, bottom;
    } widths[] = {{500, 500, 500, 500}, {-10, -20, 5, -30}, {INT32_MAX, INT32_MAX, INT32_MIN, 0}, {0, 0, 0, 0}};
    for (const auto& w : widths) {
        ConversionSettings s = frame(w.left, w.right, w.top, w.bottom);
        s.frameSolidTopColor = "12";
        s.frameSolidLeftColor = "XYZXYZ";
        Bitmap framed = drawFrame(solidPicture(100, 50, kPicture), s);
        ASSERT_TRUE(framed) << w.left;
        EXPECT_EQ(framed.width(), 100u);
        EXPECT_EQ(framed.height(), 50u);
    }
    ConversionSettings wide = frame(500, 500, 500, 500);
    wide.frameSolidLeftColor = wide.frameSolidRightColor = wide.frameSolidTopColor = wide.frameSolidBottomColor =
        "bad";
    Bitmap covered = drawFrame(solidPicture(100, 50, kPicture), wide);
    EXPECT_EQ(test::boxOfPixelsOtherThan(covered, {0, 0, 0}), test::Box{});
}

}  // namespace
}  // namespace pixalto
