// The drawing layer: canvases, constant alpha, the grey filter, shapes and
// the hand-over to FreeImage.
#include <gtest/gtest.h>


#include "engine/render/canvas.h"
#include "picture_test_helpers.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

QImage filled(int width, int height, QRgb straight) {
    QImage canvas = makeCanvas(width, height);
    canvas.fill(QColor::fromRgba(straight));
    return canvas;
}

// Straight (not premultiplied) ARGB of a canvas pixel.
QRgb at(const QImage& canvas, int x, int y) { return qUnpremultiply(canvas.pixel(x, y)); }

TEST(RenderCanvas, ConstantAlphaOverAndReplacing) {
    const QRgb source = qRgba(200, 100, 0, 255);
    const QRgb halfSource = qRgba(0, 0, 255, 100);
    const QRgb target = qRgba(0, 255, 0, 255);
    for (CanvasBlend blend : {CanvasBlend::Over, CanvasBlend::AllChannels}) {
        QImage full = filled(4, 4, target);
        drawCanvas(full, filled(4, 4, source), 0, 0, 255, blend);
        EXPECT_EQ(at(full, 1, 1), source);

        QImage none = filled(4, 4, target);
        drawCanvas(none, filled(4, 4, source), 0, 0, 0, blend);
        EXPECT_EQ(at(none, 1, 1), target);

        QImage half = filled(4, 4, qRgba(0, 0, 0, 255));
        drawCanvas(half, filled(4, 4, qRgba(255, 255, 255, 255)), 0, 0, 128, blend);
        EXPECT_EQ(at(half, 1, 1), qRgba(128, 128, 128, 255));
    }
    // Replacing writes the source's own alpha; laying over keeps the target opaque.
    QImage replaced = filled(2, 2, target);
    drawCanvas(replaced, filled(2, 2, halfSource), 0, 0, 255, CanvasBlend::AllChannels);
    EXPECT_EQ(qAlpha(at(replaced, 0, 0)), 100);
    QImage over = filled(2, 2, target);
    drawCanvas(over, filled(2, 2, halfSource), 0, 0, 255, CanvasBlend::Over);
    EXPECT_EQ(qAlpha(at(over, 0, 0)), 255);
    EXPECT_NEAR(qBlue(at(over, 0, 0)), 100, 1);
    // On a transparent canvas, half alpha keeps the colour and halves the alpha.
    QImage clear = makeCanvas(2, 2);
    drawCanvas(clear, filled(2, 2, source), 0, 0, 128);
    EXPECT_EQ(qAlpha(at(clear, 0, 0)), 128);
    EXPECT_NEAR(qRed(at(clear, 0, 0)), 200, 1);
    EXPECT_NEAR(qGreen(at(clear, 0, 0)), 100, 1);
}

TEST(RenderCanvas, DrawingIsClippedToTheTarget) {
    QImage target = filled(10, 10, qRgba(0, 0, 0, 255));
    drawCanvas(target, filled(6, 6, qRgba(255, 0, 0, 255)), 7, -3, 255);
    EXPECT_EQ(at(target, 9, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(at(target, 9, 2), qRgba(255, 0, 0, 255));
    EXPECT_EQ(at(target, 9, 3), qRgba(0, 0, 0, 255));
    EXPECT_EQ(at(target, 6, 0), qRgba(0, 0, 0, 255));
    drawCanvas(target, filled(6, 6, qRgba(255, 0, 0, 255)), -100, 500, 255);
    drawCanvas(target, QImage(), 0, 0, 255);
}

TEST(RenderCanvas, GreyFilterKeepsAlpha) {
    QImage target = makeCanvas(2, 2);
    drawCanvas(target, filled(2, 2, qRgba(10, 200, 90, 255)), 0, 0, 255, CanvasBlend::AllChannels, PixelFilter::Grey);
    const int grey = (77 * 10 + 150 * 200 + 29 * 90) >> 8;
    EXPECT_EQ(at(target, 0, 0), qRgba(grey, grey, grey, 255));
    QImage translucent = makeCanvas(2, 2);
    drawCanvas(translucent, filled(2, 2, qRgba(255, 255, 255, 60)), 0, 0, 255, CanvasBlend::AllChannels,
               PixelFilter::Grey);
    EXPECT_EQ(qAlpha(at(translucent, 0, 0)), 60);
}

TEST(RenderCanvas, ShapesAreAntialiased) {
    QImage canvas = makeCanvas(20, 20);
    const FilledShape triangle[] = {{QPolygonF({{0, 0}, {20, 0}, {0, 20}}), QColor(255, 0, 0)}};
    fillShapes(canvas, triangle);
    EXPECT_EQ(at(canvas, 2, 2), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(at(canvas, 18, 18)), 0);
    const int edge = qAlpha(at(canvas, 9, 10));
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
}

TEST(RenderCanvas, CanvasSizesAreCheckedBeforeAllocating) {
    EXPECT_TRUE(makeCanvas(0, 10).isNull());
    EXPECT_TRUE(makeCanvas(10, -1).isNull());
    EXPECT_TRUE(makeCanvas(40000, 30000).isNull());  // 4.8 GB
    EXPECT_TRUE(makeCanvas(INT64_MAX, INT64_MAX).isNull());
    const QImage small = makeCanvas(3, 2, QColor(1, 2, 3));
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(at(small, 2, 1), qRgba(1, 2, 3, 255));
}


TEST(RenderCanvas, DirectHandOverEqualsTheInMemoryPng) {
    QImage canvas = makeCanvas(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            canvas.setPixel(x, y, qPremultiply(qRgba(x * 7, y * 11, (x * y) & 255, (x * 13 + y * 5) & 255)));
    const Bitmap direct = canvasToBitmap(canvas);
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct.bpp(), 32u);
    EXPECT_TRUE(test::samePixels(direct, canvasToBitmapViaPng(canvas)));
    // Top row of the canvas is the top row of the picture.
    const QRgb first = at(canvas, 5, 0);
    EXPECT_EQ(test::pixelAt(direct, 5, 0), (test::Rgb{qRed(first), qGreen(first), qBlue(first)}));
    EXPECT_FALSE(canvasToBitmap(QImage()));
}

TEST(RenderCanvas, PictureLoaderReadsPngJpegAndBmpOnly) {
    test::TempDir dir;
    QImage image(8, 6, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 128));
    for (const char* format : {"PNG", "JPEG", "BMP"}) {
        const std::string path = (dir / (std::string("p.") + format)).string();
        ASSERT_TRUE(image.save(QString::fromStdString(path), format));
        const QImage loaded = loadPicture(path);
        EXPECT_EQ(loaded.size(), QSize(8, 6)) << format;
    }
    EXPECT_TRUE(loadPicture((dir / "p.PNG").string()).hasAlphaChannel());
    EXPECT_TRUE(loadPicture("").isNull());
    EXPECT_TRUE(loadPicture((dir / "missing.png").string()).isNull());
    ASSERT_TRUE(image.save(QString::fromStdString((dir / "p.ico").string()), "ICO"));
    EXPECT_TRUE(loadPicture((dir / "p.ico").string()).isNull());
}

}  // namespace
}  // namespace pixalto
