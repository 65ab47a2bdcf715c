// The text or picture watermark: a canvas built with the drawing layer,
// turned, fitted into its area, placed at one of nine positions and laid
// over the picture.
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "engine/naming/filename_mask.h"
#include "engine/render/canvas.h"
#include "engine/render/render.h"
#include "engine/render/watermark_font.h"
#include "engine/transforms/picture_helpers.h"

namespace pixalto {

namespace {

constexpr int kTextWatermark = 1;
constexpr int kPictureWatermark = 2;
constexpr int kFrameBoundary = 1;
constexpr int kMinimumLineBox = 10;

// The settings that place a watermark of either kind.
struct Placement {
    int boundary;
    int position;
    int64_t xOffset;
    int64_t yOffset;
    int rotation;
};

Placement placementFor(const ConversionSettings& s) {
    if (s.doWatermark == kTextWatermark)
        return {s.wmTextBoundary, s.wmTextPosition, s.wmTextXOffset, s.wmTextYOffset, s.wmTextRotation};
    return {s.wmImageBoundary, s.wmImagePosition, s.wmImageXOffset, s.wmImageYOffset, s.wmImageRotation};
}

struct Area {
    int64_t x = 0;
    int64_t y = 0;
    int64_t width = 0;
    int64_t height = 0;
};

Area areaFor(const ConversionSettings& s, int boundary, int64_t width, int64_t height) {
    if (boundary != kFrameBoundary || !s.doFrame) return {0, 0, width, height};
    return {s.frameSolidLeft, s.frameSolidTop, width - s.frameSolidLeft - s.frameSolidRight,
            height - s.frameSolidTop - s.frameSolidBottom};
}

// Where a side of the watermark goes along one axis of the area.
enum class Anchor { Near, Centre, Far };

int64_t anchoredAt(Anchor anchor, int64_t extent, int64_t size, int64_t offset) {
    switch (anchor) {
    case Anchor::Near: return offset;
    case Anchor::Centre: return (extent - size) / 2;
    case Anchor::Far: return extent - size - offset;
    }
    return 0;
}

struct Position {
    int64_t x;
    int64_t y;
};

// Codes 0 to 8: top, middle and bottom rows of left, centre and right.
Position positionInArea(const Placement& p, const Area& area, int64_t width, int64_t height) {
    static constexpr Anchor kColumns[] = {Anchor::Near, Anchor::Centre, Anchor::Far};
    if (p.position < 0 || p.position > 8) return {area.x, area.y};
    const Anchor column = kColumns[p.position % 3];
    const Anchor row = kColumns[p.position / 3];
    return {area.x + anchoredAt(column, area.width, width, p.xOffset),
            area.y + anchoredAt(row, area.height, height, p.yOffset)};
}

// --- text -------------------------------------------------------------------

struct TextLayout {
    QStringList lines;
    int64_t boxWidth = 0;
    int64_t boxHeight = 0;
    int64_t lineAdvance = 0;
};

TextLayout layoutText(const QString& text, const QFont& font, const ConversionSettings& s) {
    TextLayout layout;
    layout.lines = text.split(QStringLiteral("%eol%"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (layout.lines.size() > 1) {
        int widest = 0;
        int tallest = 0;
        for (const QString& line : layout.lines) {
            const TextExtent extent = measureText(font, line);
            widest = std::max(widest, extent.width);
            tallest = std::max(tallest, extent.height);
        }
        const int64_t lineHeight = std::max(tallest, kMinimumLineBox);
        layout.boxWidth = std::max(widest, kMinimumLineBox);
        layout.lineAdvance = lineHeight + s.wmFontLeading;
        layout.boxHeight = lineHeight + static_cast<int64_t>(layout.lines.size() - 1) * layout.lineAdvance;
    } else {
        const TextExtent extent = measureText(font, text);
        layout.boxWidth = extent.width;
        layout.boxHeight = extent.height;
    }
    layout.boxWidth += 2 * static_cast<int64_t>(s.wmTextPadding);
    layout.boxHeight += 2 * static_cast<int64_t>(s.wmTextPadding);
    return layout;
}

// Left edge of a line of a multi-line text; a single line sits at the padding.
int64_t lineLeft(const TextLayout& layout, int64_t lineWidth, const ConversionSettings& s) {
    const int64_t padding = s.wmTextPadding;
    if (layout.lines.size() == 1) return padding;
    switch (s.wmTextAlignment) {
    case 0: return padding;
    case 1: return std::llround((layout.boxWidth - lineWidth) / 2.0);
    case 2: return layout.boxWidth - lineWidth - padding;
    default: return 0;
    }
}

// Only the top-left keepWidth x keepHeight part of the box is drawn: an
// unturned watermark is cut to its area later anyway, and a huge font would
// otherwise ask for a huge canvas.
QImage textCanvas(const ConversionSettings& s, const ConversionJob& job, int64_t keepWidth, int64_t keepHeight) {
    const std::optional<QFont> font = watermarkFont(s);
    if (!font) return {};
    const QString text = QString::fromStdString(expandWatermarkText(job, s));
    const TextLayout layout = layoutText(text, *font, s);
    const RgbColor textColor = parseColorText(s.wmFontColor);
    const RgbColor backColor = parseColorText(s.wmBackColor);
    const auto lineTop = [&](qsizetype index) { return s.wmTextPadding + index * layout.lineAdvance; };
    if (layout.boxWidth <= 0 || layout.boxHeight <= 0) return {};
    const int64_t canvasWidth = std::min(layout.boxWidth, keepWidth);
    const int64_t canvasHeight = std::min(layout.boxHeight, keepHeight);

    if (!s.wmTextAntialiasing) {
        QImage canvas = makeCanvas(canvasWidth, canvasHeight, canvasColor(backColor, s.wmBackOpacity));
        if (canvas.isNull()) return {};
        for (qsizetype i = 0; i < layout.lines.size(); ++i) {
            const QString& line = layout.lines[i];
            const int64_t left = lineLeft(layout, measureText(*font, line).width, s);
            drawPlainText(canvas, *font, line, static_cast<int>(left), static_cast<int>(lineTop(i)),
                          canvasColor(textColor, s.wmTextOpacity), canvasColor(backColor, s.wmBackOpacity));
        }
        return canvas;
    }

    const QImage back = makeCanvas(canvasWidth, canvasHeight, canvasColor(backColor, 255));
    QImage letters = makeCanvas(canvasWidth, canvasHeight);
    QImage result = makeCanvas(canvasWidth, canvasHeight);
    if (back.isNull() || letters.isNull() || result.isNull()) return {};
    for (qsizetype i = 0; i < layout.lines.size(); ++i) {
        const QString& line = layout.lines[i];
        const int64_t left = lineLeft(layout, std::llround(measureVectorText(*font, line)), s);
        drawVectorText(letters, *font, line, static_cast<double>(left), static_cast<double>(lineTop(i)),
                       canvasColor(textColor, 255));
    }
    drawCanvas(result, back, 0, 0, s.wmBackOpacity);
    drawCanvas(result, letters, 0, 0, s.wmTextOpacity);
    return result;
}

// --- picture ----------------------------------------------------------------

QImage pictureCanvas(const ConversionSettings& s) {
    const QImage picture = loadPicture(s.wmImage);
    if (picture.isNull()) return {};
    QImage canvas = makeCanvas(picture.width(), picture.height(),
                               picture.hasAlphaChannel() ? QColor(Qt::transparent) : QColor(0, 0, 0, 255));
    if (canvas.isNull()) return {};
    drawCanvas(canvas, picture, 0, 0, s.wmImageOpacity, CanvasBlend::AllChannels,
               s.wmImageGreyscale ? PixelFilter::Grey : PixelFilter::None);
    return canvas;
}

}  // namespace

Bitmap renderWatermark(Bitmap bitmap, const ConversionSettings& settings, const ConversionJob& job) {
    if (!settings.doWatermark || !bitmap) return bitmap;
    const bool convert = bitmap.bpp() != 24;
    bitmap = convertTo24BitsWhen(std::move(bitmap), convert);
    if (!bitmap) return bitmap;

    const Placement placement = placementFor(settings);
    const bool turned = placement.rotation > 0 && placement.rotation < 360;
    const int64_t pictureWidth = bitmap.width();
    const int64_t pictureHeight = bitmap.height();
    const Area area = areaFor(settings, placement.boundary, pictureWidth, pictureHeight);

    QImage canvas;
    if (settings.doWatermark == kTextWatermark) {
        // At least one pixel, so that a box without room still fails below.
        const int64_t keepWidth = turned ? INT64_MAX : std::max<int64_t>(1, area.width - placement.xOffset);
        const int64_t keepHeight = turned ? INT64_MAX : std::max<int64_t>(1, area.height - placement.yOffset);
        canvas = textCanvas(settings, job, keepWidth, keepHeight);
    } else if (settings.doWatermark == kPictureWatermark) {
        canvas = pictureCanvas(settings);
    }
    if (canvas.isNull()) return bitmap;
    Bitmap mark = canvasToBitmap(canvas);
    canvas = QImage();
    if (!mark) return bitmap;

    if (turned) {
        if (!rotatedPictureFits(mark.width(), mark.height(), 32, placement.rotation)) return bitmap;
        mark = mark.then([&](FIBITMAP* dib) { return FreeImage_Rotate(dib, placement.rotation, nullptr); });
        if (!mark) return bitmap;
    }

    int64_t width = mark.width();
    int64_t height = mark.height();
    if (width + placement.xOffset > area.width) width = area.width - placement.xOffset;
    if (height + placement.yOffset > area.height) height = area.height - placement.yOffset;
    if (width != mark.width() || height != mark.height()) {
        // No room left after the offsets: the file cannot be watermarked.
        if (width <= 0 || height <= 0) return {};
        mark = mark.then([&](FIBITMAP* dib) {
            return FreeImage_Copy(dib, 0, 0, static_cast<int>(width), static_cast<int>(height));
        });
        if (!mark) return {};
    }

    const Position at = positionInArea(placement, area, width, height);
    // A watermark reaching past the picture (negative offsets) is left out.
    if (at.x < 0 || at.y < 0 || at.x + width > pictureWidth || at.y + height > pictureHeight) return bitmap;
    if (!fitsPixelMemory(pictureWidth, pictureHeight, 32)) return bitmap;
    Bitmap layer(FreeImage_AllocateT(FIT_BITMAP, static_cast<int>(pictureWidth), static_cast<int>(pictureHeight),
                                     static_cast<int>(mark.bpp()), 0, 0, 0));
    if (!layer) return bitmap;
    // An alpha above 255 copies the canvas as it is; 255 itself would blend
    // it at 255/256 and dim the watermark by one level.
    constexpr int kCopyAsIs = 256;
    if (!FreeImage_Paste(layer.get(), mark.get(), static_cast<int>(at.x), static_cast<int>(at.y), kCopyAsIs))
        return bitmap;
    mark.reset();
    Bitmap marked(FreeImage_Composite(layer.get(), FALSE, nullptr, bitmap.get()));
    return marked ? std::move(marked) : std::move(bitmap);
}

}  // namespace pixalto
