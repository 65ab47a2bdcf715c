#include "engine/render/canvas.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace pixalto {

namespace {

// Text measures are taken for an image device, not for a screen.
const QImage& measuringDevice() {
    static const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    return device;
}

QImage greyPixels(const QImage& source) {
    QImage grey = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb p = row[x];
            const int level = (77 * qRed(p) + 150 * qGreen(p) + 29 * qBlue(p)) >> 8;
            row[x] = qRgba(level, level, level, qAlpha(p));
        }
    }
    return grey;
}

QFont withAntialiasing(QFont font, bool antialiased) {
    font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    return font;
}

}  // namespace

QColor canvasColor(const RgbColor& color, int opacity) {
    return QColor(color.red, color.green, color.blue, std::clamp(opacity, 0, 255));
}

QImage makeCanvas(int64_t width, int64_t height, const QColor& fill) {
    if (!fitsPixelMemory(width, height, 32)) return {};
    QImage canvas(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) return {};
    canvas.fill(fill);
    return canvas;
}

void fillShapes(QImage& canvas, std::span<const FilledShape> shapes) {
    if (canvas.isNull()) return;
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    for (const FilledShape& shape : shapes) {
        painter.setBrush(shape.color);
        painter.drawPolygon(shape.outline);
    }
}

void drawCanvas(QImage& target, const QImage& source, int x, int y, int constantAlpha, CanvasBlend blend,
                PixelFilter filter) {
    if (target.isNull() || source.isNull()) return;
    const uint32_t alpha = static_cast<uint32_t>(std::clamp(constantAlpha, 0, 255));
    if (alpha == 0) return;
    const QRect area = QRect(x, y, source.width(), source.height()).intersected(target.rect());
    if (area.isEmpty()) return;
    const QImage drawn = (filter == PixelFilter::Grey ? greyPixels(source) : source)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (drawn.isNull()) return;
    // Both canvases hold premultiplied pixels: the source scaled by the
    // constant alpha is laid over the target, or replaces it in proportion.
    const auto scale = [](uint32_t channel, uint32_t factor) { return (channel * factor + 127) / 255; };
    for (int row = area.top(); row <= area.bottom(); ++row) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(row)) + area.left();
        const auto* in = reinterpret_cast<const QRgb*>(drawn.constScanLine(row - y)) + (area.left() - x);
        for (int i = 0; i < area.width(); ++i) {
            const QRgb s = in[i];
            const QRgb d = out[i];
            const uint32_t sa = scale(qAlpha(s), alpha);
            const uint32_t keep = blend == CanvasBlend::AllChannels ? 255 - alpha : 255 - sa;
            out[i] = qRgba(static_cast<int>(scale(qRed(s), alpha) + scale(qRed(d), keep)),
                           static_cast<int>(scale(qGreen(s), alpha) + scale(qGreen(d), keep)),
                           static_cast<int>(scale(qBlue(s), alpha) + scale(qBlue(d), keep)),
                           static_cast<int>(sa + scale(qAlpha(d), keep)));
        }
    }
}

TextExtent measureText(const QFont& font, const QString& line) {
    const QFontMetrics metrics(withAntialiasing(font, false), &measuringDevice());
    return {metrics.horizontalAdvance(line), metrics.height()};
}

double measureVectorText(const QFont& font, const QString& line) {
    const QFontMetricsF metrics(withAntialiasing(font, true), &measuringDevice());
    return metrics.horizontalAdvance(line);
}

namespace {

// One line of text with its cell's top-left at the point. Plain text replaces
// all four channels of the pixels it covers, cell background first; smooth
// text is laid over the canvas.
void paintTextLine(QImage& canvas, const QFont& font, const QString& line, QPointF topLeft, const QColor& text,
                   const QColor* background, bool antialiased) {
    if (canvas.isNull()) return;
    const QFont face = withAntialiasing(font, antialiased);
    const QFontMetrics cell(face, &canvas);
    const qreal ascent = antialiased ? QFontMetricsF(face, &canvas).ascent() : cell.ascent();
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
    if (!antialiased) painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (background)
        painter.fillRect(QRectF(topLeft, QSizeF(cell.horizontalAdvance(line), cell.height())), *background);
    painter.setFont(face);
    painter.setPen(text);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + ascent), line);
}

}  // namespace

void drawPlainText(QImage& canvas, const QFont& font, const QString& line, int x, int y, const QColor& text,
                   const QColor& background) {
    paintTextLine(canvas, font, line, QPointF(x, y), text, &background, false);
}

void drawVectorText(QImage& canvas, const QFont& font, const QString& line, double x, double y,
                    const QColor& text) {
    paintTextLine(canvas, font, line, QPointF(x, y), text, nullptr, true);
}

QImage loadPicture(const std::string& path) {
    if (path.empty()) return {};
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg" && format != "jpg" && format != "bmp") return {};
    const QSize size = reader.size();
    if (size.isValid() && !fitsPixelMemory(size.width(), size.height(), 32)) return {};
    QImage picture;
    if (!reader.read(&picture)) return {};
    return picture;
}

Bitmap canvasToBitmap(const QImage& canvas) {
    if (canvas.isNull()) return {};
    // On little-endian machines QImage's ARGB32 and FreeImage's 32-bit layout
    // both keep a pixel as the bytes B, G, R, A; then only the row order
    // differs (FreeImage stores the bottom row first).
    const QImage straight = canvas.convertToFormat(QImage::Format_ARGB32);
    if (straight.isNull()) return {};
    const int width = straight.width();
    const int height = straight.height();
    Bitmap bitmap(FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    if (!bitmap) return {};
    for (int y = 0; y < height; ++y) {
        BYTE* target = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN && FREEIMAGE_COLORORDER == FREEIMAGE_COLORORDER_BGR
        std::memcpy(target, straight.constScanLine(y), static_cast<size_t>(width) * 4);
#else
        const auto* source = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        for (int x = 0; x < width; ++x, target += 4) {
            target[FI_RGBA_RED] = static_cast<BYTE>(qRed(source[x]));
            target[FI_RGBA_GREEN] = static_cast<BYTE>(qGreen(source[x]));
            target[FI_RGBA_BLUE] = static_cast<BYTE>(qBlue(source[x]));
            target[FI_RGBA_ALPHA] = static_cast<BYTE>(qAlpha(source[x]));
        }
#endif
    }
    return bitmap;
}

Bitmap canvasToBitmapViaPng(const QImage& canvas) {
    if (canvas.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !canvas.save(&buffer, "PNG")) return {};
    FIMEMORY* stream = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    if (!stream) return {};
    Bitmap bitmap(FreeImage_LoadFromMemory(FIF_PNG, stream, 0));
    FreeImage_CloseMemory(stream);
    return bitmap;
}

}  // namespace pixalto
