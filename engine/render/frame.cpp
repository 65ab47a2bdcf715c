// The solid frame: four sides of their own colour, mitred at the corners,
// laid over the edges of the picture.
#include <array>

#include "engine/render/canvas.h"
#include "engine/render/render.h"
#include "engine/transforms/picture_helpers.h"

namespace pixalto {

namespace {

constexpr int kSolidFrame = 1;

QPolygonF rectangle(double x, double y, double width, double height) {
    return QPolygonF(QRectF(x, y, width, height));
}

// Corner squares first, under the four trapezoids: they only fill the seams
// that the antialiased diagonals would leave.
std::array<FilledShape, 8> frameShapes(const ConversionSettings& s, double w, double h) {
    const double l = s.frameSolidLeft;
    const double r = s.frameSolidRight;
    const double t = s.frameSolidTop;
    const double b = s.frameSolidBottom;
    const QColor left = canvasColor(parseColorText(s.frameSolidLeftColor), 255);
    const QColor right = canvasColor(parseColorText(s.frameSolidRightColor), 255);
    const QColor top = canvasColor(parseColorText(s.frameSolidTopColor), 255);
    const QColor bottom = canvasColor(parseColorText(s.frameSolidBottomColor), 255);
    return {{
        {rectangle(0, 0, l, t), top},
        {rectangle(w - r, 0, r, t), right},
        {rectangle(w - r, h - b, r, b), bottom},
        {rectangle(0, h - b, l, b), left},
        {QPolygonF({{0, 0}, {w, 0}, {w - r, t}, {l, t}}), top},
        {QPolygonF({{w, 0}, {w, h}, {w - r, h - b}, {w - r, t}}), right},
        {QPolygonF({{w, h}, {0, h}, {l, h - b}, {w - r, h - b}}), bottom},
        {QPolygonF({{0, h}, {0, 0}, {l, t}, {l, h - b}}), left},
    }};
}

}  // namespace

Bitmap renderFrame(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doFrame || !bitmap) return bitmap;
    const bool convert = bitmap.bpp() != 24;
    bitmap = convertTo24BitsWhen(std::move(bitmap), convert);
    if (!bitmap || settings.doFrame != kSolidFrame) return bitmap;

    const int width = static_cast<int>(bitmap.width());
    const int height = static_cast<int>(bitmap.height());
    QImage sides = makeCanvas(width, height);
    if (sides.isNull()) return bitmap;
    const auto shapes = frameShapes(settings, width, height);
    fillShapes(sides, shapes);

    QImage frame = makeCanvas(width, height);
    if (frame.isNull()) return bitmap;
    drawCanvas(frame, sides, 0, 0, settings.frameSolidOpacity);
    sides = QImage();

    const Bitmap layer = canvasToBitmap(frame);
    if (!layer) return bitmap;
    frame = QImage();
    Bitmap framed(FreeImage_Composite(layer.get(), FALSE, nullptr, bitmap.get()));
    return framed ? std::move(framed) : std::move(bitmap);
}

}  // namespace pixalto
