#pragma once
// The drawing layer of the frame and the watermark: 32-bit canvases with an
// alpha channel, filled shapes, canvas-on-canvas drawing with a constant
// alpha, text lines and their measures, picture loading, and the hand-over of
// a canvas to FreeImage.
//
// Every operation works on the images it is given; there is no shared image or
// font state, so several threads may draw at the same time (text needs a
// QGuiApplication to exist, see watermark_font.h).
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygonF>
#include <QString>

#include <cstdint>
#include <span>
#include <string>

#include "engine/bitmap.h"
#include "engine/transforms/picture_helpers.h"

namespace pixalto {

// A colour text with an opacity (clamped to 0..255) as a drawing colour.
QColor canvasColor(const RgbColor& color, int opacity);

// A canvas of the given size filled with the colour (premultiplied ARGB).
// Null when a side is not positive, the size passes the pixel-memory ceiling
// or the memory cannot be had.
QImage makeCanvas(int64_t width, int64_t height, const QColor& fill = Qt::transparent);

struct FilledShape {
    QPolygonF outline;
    QColor color;
};

// Fills the closed polygons in order, antialiased, over what is there.
void fillShapes(QImage& canvas, std::span<const FilledShape> shapes);

enum class CanvasBlend {
    Over,         // the source laid over the target
    AllChannels,  // the four channels of the target replaced by the source
};
enum class PixelFilter { None, Grey };

// Draws source onto target with its top-left corner at (x, y) and a constant
// alpha (0..255). At 255 the source is drawn as it is (over or replacing);
// at 0 the target stays unchanged; in between AllChannels moves each channel
// of the target toward the source by alpha / 255. Grey turns each source pixel
// into (77 R + 150 G + 29 B) >> 8 with its own alpha.
void drawCanvas(QImage& target, const QImage& source, int x, int y, int constantAlpha,
                CanvasBlend blend = CanvasBlend::Over, PixelFilter filter = PixelFilter::None);

// Width and height of a text line in the 2D text measures of the font: the
// advance width and the font's line height.
struct TextExtent {
    int width = 0;
    int height = 0;
};
TextExtent measureText(const QFont& font, const QString& line);
// Advance width of a line drawn as antialiased vector text.
double measureVectorText(const QFont& font, const QString& line);

// Plain (not antialiased) text with its cell (advance width by line height)
// filled with the background, top-left at (x, y); all four channels written.
void drawPlainText(QImage& canvas, const QFont& font, const QString& line, int x, int y, const QColor& text,
                   const QColor& background);
// Antialiased text with its cell's top-left at (x, y), laid over the canvas.
void drawVectorText(QImage& canvas, const QFont& font, const QString& line, double x, double y,
                    const QColor& text);

// Reads a PNG, JPEG or BMP picture. Null when it cannot be read, including
// pictures larger than the reader's allocation limit.
QImage loadPicture(const std::string& path);

// The canvas as a 32-bit FreeImage bitmap with straight (not premultiplied)
// alpha; empty on failure.
Bitmap canvasToBitmap(const QImage& canvas);
// The same hand-over through a PNG encoded in memory and read back with
// FreeImage's PNG reader. Slower; kept to check and measure the direct one.
Bitmap canvasToBitmapViaPng(const QImage& canvas);

}  // namespace pixalto
