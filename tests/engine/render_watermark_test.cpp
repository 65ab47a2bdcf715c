// The picture watermark: placement in its area, fitting, rotation, opacity,
// the grey filter, and pictures that cannot be used.
#include <gtest/gtest.h>

#include <QImage>

#include <thread>
#include <vector>

#include <zlib.h>

#include "engine/drawing_layer.h"
#include "picture_test_helpers.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

using test::Box;
using test::boxOfPixelsOtherThan;
using test::pixelAt;
using test::Rgb;
using test::solidPicture;

const Rgb kBlack{0, 0, 0};
const Rgb kMark{200, 100, 50};

class RenderWatermark : public ::testing::Test {
protected:
    // An opaque picture of the mark colour; its first column is blue so that
    // a cut shows which part was kept.
    std::string markFile(int width, int height, const char* format = "PNG", const char* name = "mark.png") {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(kMark.red, kMark.green, kMark.blue));
        for (int y = 0; y < height; ++y) image.setPixel(0, y, qRgb(0, 0, 255));
        const std::string path = (dir / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        return path;
    }

    ConversionSettings pictureMark(const std::string& path) {
        ConversionSettings s;
        s.doWatermark = 2;
        s.wmImage = path;
        return s;
    }

    Box placedBox(const ConversionSettings& s, int width = 640, int height = 480) {
        Bitmap marked = drawWatermark(solidPicture(width, height, kBlack), s, job);
        EXPECT_TRUE(marked);
        return marked ? boxOfPixelsOtherThan(marked, kBlack) : Box{};
    }

    test::TempDir dir;
    ConversionJob job;
};

TEST_F(RenderWatermark, NinePositionsInThePictureOrInsideTheFrame) {
    ConversionSettings s = pictureMark(markFile(100, 30));
    const Box expected[] = {
        {10, 10, 100, 30},   {270, 10, 100, 30},  {530, 10, 100, 30},
        {10, 225, 100, 30},  {270, 225, 100, 30}, {530, 225, 100, 30},
        {10, 440, 100, 30},  {270, 440, 100, 30}, {530, 440, 100, 30},
    };
    for (int position = 0; position < 9; ++position) {
        s.wmImagePosition = static_cast<int8_t>(position);
        EXPECT_EQ(placedBox(s), expected[position]) << "position " << position;
    }
    s.wmImagePosition = 9;
    EXPECT_EQ(placedBox(s), (Box{0, 0, 100, 30}));

    // The middle ignores the offsets.
    s.wmImagePosition = 4;
    s.wmImageXOffset = 50;
    s.wmImageYOffset = 70;
    EXPECT_EQ(placedBox(s), (Box{270, 225, 100, 30}));

    // Inside a frame of 20 pixels: area 600 x 440 from (20, 20).
    s.wmImagePosition = 8;
    s.wmImageXOffset = s.wmImageYOffset = 10;
    s.wmImageBoundary = 1;
    s.frameSolidLeft = s.frameSolidRight = s.frameSolidTop = s.frameSolidBottom = 20;
    EXPECT_EQ(placedBox(s), (Box{530, 440, 100, 30})) << "no frame drawn: the whole picture";
    s.doFrame = 1;
    EXPECT_EQ(placedBox(s), (Box{510, 420, 100, 30}));
    s.wmImagePosition = 0;
    EXPECT_EQ(placedBox(s), (Box{30, 30, 100, 30}));
}

TEST_F(RenderWatermark, DrawnAsItIsAtFullOpacity) {
    Bitmap marked = drawWatermark(solidPicture(640, 480, kBlack), pictureMark(markFile(100, 30)), job);
    ASSERT_TRUE(marked);
    EXPECT_EQ(pixelAt(marked, 531, 441), kMark);
    EXPECT_EQ(pixelAt(marked, 629, 469), kMark);
    EXPECT_EQ(pixelAt(marked, 530, 455), (Rgb{0, 0, 255}));
}

TEST_F(RenderWatermark, TooLargeMarksKeepTheirTopLeftPart) {
    ConversionSettings s = pictureMark(markFile(700, 50));
    s.wmImagePosition = 0;
    Bitmap marked = drawWatermark(solidPicture(640, 480, kBlack), s, job);
    ASSERT_TRUE(marked);
    EXPECT_EQ(boxOfPixelsOtherThan(marked, kBlack), (Box{10, 10, 630, 50}));
    EXPECT_EQ(pixelAt(marked, 10, 20), (Rgb{0, 0, 255}));

    s = pictureMark(markFile(60, 900, "PNG", "tall.png"));
    s.wmImagePosition = 8;
    EXPECT_EQ(placedBox(s), (Box{570, 0, 60, 470}));
}

TEST_F(RenderWatermark, QuarterTurnPlacesAnUprightCanvas) {
    ConversionSettings s = pictureMark(markFile(100, 30));
    s.wmImageRotation = 90;
    EXPECT_EQ(placedBox(s), (Box{600, 370, 30, 100}));
    for (int angle : {0, 360, -90, 1000000}) {
        s.wmImageRotation = angle;
        EXPECT_EQ(placedBox(s), (Box{530, 440, 100, 30})) << angle;
    }
}

TEST_F(RenderWatermark, MarksPastThePictureAreLeftOut) {
    ConversionSettings s = pictureMark(markFile(100, 30));
    s.wmImagePosition = 0;
    s.wmImageXOffset = -10;
    Bitmap marked = drawWatermark(Bitmap(FreeImage_Allocate(640, 480, 8)), s, job);
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked.bpp(), 24u);
    EXPECT_EQ(boxOfPixelsOtherThan(marked, kBlack), Box{});

    s.wmImageXOffset = 10;
    s.wmImageYOffset = INT32_MIN;
    EXPECT_EQ(placedBox(s), Box{});
    s.wmImagePosition = 8;
    s.wmImageYOffset = INT32_MAX;
    EXPECT_FALSE(drawWatermark(solidPicture(640, 480, kBlack), s, job)) << "no room left: the file fails";
}

TEST_F(RenderWatermark, NoRoomAfterTheOffsetsFailsTheFile) {
    ConversionSettings s = pictureMark(markFile(100, 30));
    s.wmImagePosition = 0;
    s.wmImageXOffset = 640;
    EXPECT_FALSE(drawWatermark(solidPicture(640, 480, kBlack), s, job));
    s.doFrame = 1;
    s.wmImageBoundary = 1;
    s.wmImageXOffset = 0;
    s.frameSolidLeft = 400;
    s.frameSolidRight = 300;
    EXPECT_FALSE(drawWatermark(solidPicture(640, 480, kBlack), s, job));
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) { test::writeFile(path, bytes); }

TEST_F(RenderWatermark, UnusablePicturesLeaveTheFileUndecorated) {
    // A PNG whose header claims 100000 x 100000 pixels.
    std::string huge = test::readFile(markFile(1, 1, "PNG", "small.png"));
    ASSERT_GT(huge.size(), 33u);
    for (int i = 0; i < 2; ++i) {
        const uint32_t side = 100000;
        for (int b = 0; b < 4; ++b) huge[16 + 4 * i + b] = static_cast<char>((side >> (24 - 8 * b)) & 0xFF);
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17);
    for (int b = 0; b < 4; ++b) huge[29 + b] = static_cast<char>((crc >> (24 - 8 * b)) & 0xFF);
    writeBytes(dir / "huge.png", huge);
    writeBytes(dir / "empty.png", "");
    writeBytes(dir / "corrupt.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, '\x55'));
    // GIF is readable by Qt but not a watermark format.
    Bitmap gif = solidPicture(20, 20, {255, 0, 0}).then(FreeImage_ConvertTo8Bits);
    ASSERT_TRUE(FreeImage_Save(FIF_GIF, gif.get(), (dir / "mark.gif").c_str()));

    for (const char* name : {"huge.png", "empty.png", "corrupt.png", "mark.gif", "missing.png", ""}) {
        const std::string path = *name ? (dir / name).string() : std::string();
        Bitmap marked = drawWatermark(Bitmap(FreeImage_Allocate(64, 48, 1)), pictureMark(path), job);
        ASSERT_TRUE(marked) << name;
        EXPECT_EQ(marked.bpp(), 24u) << name;
        EXPECT_EQ(boxOfPixelsOtherThan(marked, kBlack), Box{}) << name;
    }
}

TEST_F(RenderWatermark, JpegAndBmpPicturesAndWrongExtensions) {
    for (const auto& [format, name] : {std::pair{"JPEG", "mark.jpg"}, {"BMP", "mark.bmp"}, {"PNG", "mark.bmp.txt"}}) {
        EXPECT_EQ(placedBox(pictureMark(markFile(100, 30, format, name))), (Box{530, 440, 100, 30})) << name;
    }
}

// A 32-bit picture of one colour and alpha.
std::string alphaFile(const test::TempDir& dir, QRgb pixel) {
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(pixel);
    const std::string path = (dir / "alpha.png").string();
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
}

TEST_F(RenderWatermark, OpacityAndGreyFilter) {
    ConversionSettings s = pictureMark(alphaFile(dir, qRgba(255, 0, 0, 255)));
    s.wmImagePosition = 0;
    s.wmImageGreyscale = 1;
    // (77 * 255) >> 8 = 76 in each channel.
    EXPECT_EQ(pixelAt(drawWatermark(solidPicture(100, 50, kBlack), s, job), 20, 20), (Rgb{76, 76, 76}));

    // Half opacity over white: 76 at alpha 128 composited over 255.
    s.wmImageOpacity = 128;
    const Rgb half = pixelAt(drawWatermark(solidPicture(100, 50, {255, 255, 255}), s, job), 20, 20);
    EXPECT_NEAR(half.red, 164, 2);
    EXPECT_EQ(half.red, half.green);

    // The picture's own alpha is kept by the filter and scaled by the opacity.
    s = pictureMark(alphaFile(dir, qRgba(0, 0, 255, 0)));
    EXPECT_EQ(boxOfPixelsOtherThan(drawWatermark(solidPicture(100, 50, {9, 9, 9}), s, job), {9, 9, 9}), Box{});

    // A picture without alpha is drawn on opaque black: partial opacity darkens it.
    s = pictureMark(markFile(40, 20, "BMP", "plain.bmp"));
    s.wmImagePosition = 0;
    s.wmImageOpacity = 128;
    const Rgb dark = pixelAt(drawWatermark(solidPicture(100, 50, {255, 255, 255}), s, job), 20, 20);
    EXPECT_NEAR(dark.red, 100, 1);
    EXPECT_NEAR(dark.green, 50, 1);
    s.wmImageOpacity = 0;
    EXPECT_EQ(pixelAt(drawWatermark(solidPicture(100, 50, {255, 255, 255}), s, job), 20, 20), kBlack);
}

TEST_F(RenderWatermark, SwitchedOffOrUnknownKinds) {
    ConversionSettings s = pictureMark(markFile(10, 10));
    s.doWatermark = 0;
    Bitmap picture(FreeImage_Allocate(30, 20, 8));
    FIBITMAP* before = picture.get();
    EXPECT_EQ(drawWatermark(std::move(picture), s, job).get(), before);
    s.doWatermark = 3;
    Bitmap converted = drawWatermark(Bitmap(FreeImage_Allocate(30, 20, 8)), s, job);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted.bpp(), 24u);
}

TEST_F(RenderWatermark, SeveralThreadsDrawAtOnce) {
    ConversionSettings s = pictureMark(markFile(120, 40));
    s.wmImageRotation = 30;
    s.wmImageOpacity = 200;
    s.wmImageGreyscale = 1;
    s.doFrame = 1;
    s.frameSolidLeft = s.frameSolidTop = 15;
    s.frameSolidLeftColor = "00FF00";
    const auto draw = [&] { return drawWatermark(drawFrame(test::noisePicture(320, 240, 2), s), s, job); };
    const Bitmap expected = draw();
    ASSERT_TRUE(expected);
    std::vector<Bitmap> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&result, &draw] {
            for (int round = 0; round < 5; ++round) result = draw();
        });
    for (auto& t : threads) t.join();
    for (const auto& result : results) EXPECT_TRUE(test::samePixels(result, expected));
}

}  // namespace
}  // namespace pixalto
