// The text watermark: font resolution, the text box and its lines, plain and
// antialiased drawing with their opacities.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QFontMetrics>

#include <clocale>
#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

#include "engine/drawing_layer.h"
#include "engine/render/watermark_font.h"
#include "picture_test_helpers.h"

namespace pixalto {
namespace {

using test::Box;
using test::boxOfPixelsOtherThan;
using test::pixelAt;
using test::Rgb;
using test::solidPicture;

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};

ConversionSettings textMark(const std::string& text) {
    ConversionSettings s;
    s.doWatermark = 1;
    s.wmText = text;
    s.wmFont = "Arial";
    s.wmFontColor = "FFFFFF";
    s.wmBackColor = "FF0000";
    s.wmBackOpacity = 255;
    s.wmTextPosition = 0;
    s.wmTextXOffset = 0;
    s.wmTextYOffset = 0;
    return s;
}

class RenderText : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        localeBefore = std::setlocale(LC_ALL, nullptr);
        platformBefore = std::getenv("QT_QPA_PLATFORM") != nullptr;
        // A system locale that differs from the program's "C": Qt would adopt it.
        setenv("LC_ALL", "C.UTF-8", 1);
        ASSERT_TRUE(loadWatermarkFont(textMark("x")));
        unsetenv("LC_ALL");
    }
    static inline std::string localeBefore;
    static inline bool platformBefore = false;

    Bitmap draw(const ConversionSettings& s, Rgb picture = kBlack, int width = 640, int height = 480) {
        return drawWatermark(solidPicture(width, height, picture), s, job);
    }
    // The 2D measures the box is built from.
    static QFontMetrics metricsOf(const ConversionSettings& s) {
        QFont font = *watermarkFont(s);
        font.setStyleStrategy(QFont::NoAntialias);
        return QFontMetrics(font);
    }
    // Rows that hold at least one pixel of the colour, as runs [first, last].
    static std::vector<std::pair<int, int>> rowRuns(const Bitmap& b, Rgb color) {
        std::vector<std::pair<int, int>> runs;
        for (int y = 0; y < static_cast<int>(b.height()); ++y) {
            bool found = false;
            for (int x = 0; x < static_cast<int>(b.width()) && !found; ++x) found = pixelAt(b, x, y) == color;
            if (!found) continue;
            if (!runs.empty() && runs.back().second == y - 1)
                runs.back().second = y;
            else
                runs.push_back({y, y});
        }
        return runs;
    }

    ConversionJob job;
};

TEST_F(RenderText, ApplicationIsMadeWithoutChangingTheProcess) {
    EXPECT_NE(QGuiApplication::instance(), nullptr);
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), localeBefore);
    EXPECT_EQ(std::getenv("QT_QPA_PLATFORM") != nullptr, platformBefore);
    EXPECT_TRUE(loadWatermarkFont(textMark("x"))) << "a second call reuses the application";
}

TEST_F(RenderText, FamiliesResolveToThemselvesOrTheirConfiguredSubstitute) {
    EXPECT_EQ(resolveFontFamily("Arial"), "Liberation Sans");
    for (const char* family : {"Arial", "Liberation Sans", "liberation serif", "DejaVu Sans"}) {
        ConversionSettings s = textMark("x");
        s.wmFont = family;
        EXPECT_TRUE(loadWatermarkFont(s)) << family;
    }
    for (const char* family : {"No Such Family 4711", "", "Arial:bold"}) {
        ConversionSettings s = textMark("x");
        s.wmFont = family;
        EXPECT_FALSE(loadWatermarkFont(s)) << family;
        EXPECT_FALSE(watermarkFont(s).has_value()) << family;
    }
}

TEST_F(RenderText, FontSizeAndAttributes) {
    ConversionSettings s = textMark("x");
    EXPECT_EQ(fontPixelSize(14), 19);
    EXPECT_EQ(fontPixelSize(12), 16);
    EXPECT_EQ(fontPixelSize(0), 1);
    const QFont font = *watermarkFont(s);
    EXPECT_EQ(font.pixelSize(), 19);
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_FALSE(font.bold() || font.italic() || font.underline() || font.strikeOut());
    s.wmFontStyle = 3;
    s.wmFontEffect = 2;
    const QFont styled = *watermarkFont(s);
    EXPECT_TRUE(styled.bold() && styled.italic() && styled.strikeOut());
    EXPECT_FALSE(styled.underline());
}

TEST_F(RenderText, SingleLineBoxIsTheTextExtentPlusPadding) {
    ConversionSettings s = textMark("Size 640x480");
    const QFontMetrics metrics = metricsOf(s);
    const int width = metrics.horizontalAdvance(QStringLiteral("Size 640x480"));
    const int height = metrics.height();
    EXPECT_EQ(boxOfPixelsOtherThan(draw(s), kBlack), (Box{0, 0, width, height}));

    s.wmTextPadding = 6;
    s.wmTextPosition = 8;
    s.wmTextXOffset = s.wmTextYOffset = 10;
    EXPECT_EQ(boxOfPixelsOtherThan(draw(s), kBlack),
              (Box{640 - 10 - (width + 12), 480 - 10 - (height + 12), width + 12, height + 12}));
}

TEST_F(RenderText, PlainTextWritesExactColoursAndItsOpacity) {
    ConversionSettings s = textMark("Plain text");
    Bitmap marked = draw(s);
    const Box box = boxOfPixelsOtherThan(marked, kBlack);
    std::set<std::tuple<int, int, int>> colors;
    for (int y = box.top; y < box.top + box.height; ++y)
        for (int x = box.left; x < box.left + box.width; ++x) {
            const Rgb p = pixelAt(marked, x, y);
            colors.insert({p.red, p.green, p.blue});
        }
    EXPECT_EQ(colors, (std::set<std::tuple<int, int, int>>{{255, 0, 0}, {255, 255, 255}}));

    s.wmTextOpacity = 128;
    s.wmBackOpacity = 0;
    Bitmap faint = draw(s);
    std::set<int> levels;
    for (int y = box.top; y < box.top + box.height; ++y)
        for (int x = box.left; x < box.left + box.width; ++x) levels.insert(pixelAt(faint, x, y).green);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(*levels.begin(), 0);
    EXPECT_NEAR(*levels.rbegin(), 128, 1);
}

TEST_F(RenderText, AntialiasedTextBlendsItsEdges) {
    ConversionSettings s = textMark("Smooth text");
    s.wmTextAntialiasing = 1;
    s.wmBackOpacity = 0;
    Bitmap marked = draw(s);
    int partial = 0, full = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const int g = pixelAt(marked, x, y).green;
            full += g == 255;
            partial += g > 0 && g < 255;
        }
    EXPECT_GT(full, 0);
    EXPECT_GT(partial, 0);

    // Background and text opacities apply to their own canvases.
    s.wmBackOpacity = 128;
    s.wmTextOpacity = 0;
    const Rgb back = pixelAt(draw(s), 1, 1);
    EXPECT_NEAR(back.red, 128, 1);
    EXPECT_EQ(back.green, 0);
    const QFontMetrics metrics = metricsOf(s);
    EXPECT_EQ(boxOfPixelsOtherThan(draw(s), kBlack),
              (Box{0, 0, metrics.horizontalAdvance(QStringLiteral("Smooth text")), metrics.height()}));
}

TEST_F(RenderText, LinesSplitAtEolInAnyCase) {
    for (const char* text : {"Line one%EOL%Line two", "Line one%eol%Line two", "Line one%EoL%Line two"}) {
        ConversionSettings s = textMark(text);
        s.wmFontLeading = 6;
        s.wmBackOpacity = 0;
        Bitmap marked = draw(s);
        const auto runs = rowRuns(marked, kWhite);
        ASSERT_EQ(runs.size(), 2u) << text;
        const int lineHeight = std::max(metricsOf(s).height(), 10);
        EXPECT_EQ(runs[1].first - runs[0].first, lineHeight + 6) << text;

        s.wmBackOpacity = 255;
        const Box box = boxOfPixelsOtherThan(draw(s), kBlack);
        EXPECT_EQ(box.height, 2 * lineHeight + 6) << text;
        EXPECT_EQ(box.width, metricsOf(s).horizontalAdvance(QStringLiteral("Line one"))) << text;
    }
}

TEST_F(RenderText, EmptyLinesKeepTheMinimumBox) {
    ConversionSettings s = textMark("%eol%%eol%");
    s.wmTextPadding = 2;
    const int lineHeight = std::max(metricsOf(s).height(), 10);
    EXPECT_EQ(boxOfPixelsOtherThan(draw(s), kBlack), (Box{0, 0, 14, 3 * lineHeight + 4}));
}

TEST_F(RenderText, AlignmentOfTheShorterLine) {
    const QString shortLine = QStringLiteral("I");
    for (int antialiased : {0, 1}) {
        for (int alignment : {0, 1, 2}) {
            ConversionSettings s = textMark("I%eol%A much longer line");
            s.wmTextAlignment = static_cast<int8_t>(alignment);
            s.wmTextAntialiasing = static_cast<int8_t>(antialiased);
            s.wmTextPadding = 5;
            const QFontMetrics metrics = metricsOf(s);
            const int boxWidth = metrics.horizontalAdvance(QStringLiteral("A much longer line")) + 10;
            const int lineWidth = metrics.horizontalAdvance(shortLine);
            const int expectedLeft = alignment == 0 ? 5 : alignment == 1 ? (boxWidth - lineWidth + 1) / 2
                                                                         : boxWidth - lineWidth - 5;
            s.wmBackOpacity = 0;
            Bitmap marked = draw(s);
            // The ink of "I" in the first line lies within its advance cell.
            int inkLeft = INT32_MAX, inkRight = -1;
            for (int y = 5; y < 5 + metrics.height(); ++y)
                for (int x = 0; x < boxWidth; ++x)
                    if (pixelAt(marked, x, y).green > 0) {
                        inkLeft = std::min(inkLeft, x);
                        inkRight = std::max(inkRight, x);
                    }
            EXPECT_GE(inkLeft, expectedLeft - 1) << alignment << " aa " << antialiased;
            EXPECT_LE(inkRight, expectedLeft + lineWidth + 1) << alignment << " aa " << antialiased;
        }
    }
}

TEST_F(RenderText, DefaultBackOpacityIsPracticallyInvisible) {
    ConversionSettings s = textMark("Faint box");
    s.wmBackColor = "000000";
    s.wmBackOpacity = 1;
    s.wmFontColor = "FF0000";
    Bitmap marked = draw(s, kWhite);
    const Box box = boxOfPixelsOtherThan(marked, kWhite);
    ASSERT_GT(box.width, 0);
    for (int y = box.top; y < box.top + box.height; ++y)
        for (int x = box.left; x < box.left + box.width; ++x) {
            const Rgb p = pixelAt(marked, x, y);
            if (p.green > 200) {
                EXPECT_GE(p.green, 253) << x << "," << y;
            }
        }
}

TEST_F(RenderText, RotationAndFailures) {
    ConversionSettings s = textMark("Turned");
    const Box flat = boxOfPixelsOtherThan(draw(s), kBlack);
    s.wmTextRotation = 90;
    const Box turned = boxOfPixelsOtherThan(draw(s), kBlack);
    EXPECT_EQ(turned.width, flat.height);
    EXPECT_EQ(turned.height, flat.width);

    s.wmTextRotation = 0;
    s.wmFont = "No Such Family 4711";
    Bitmap undecorated = drawWatermark(Bitmap(FreeImage_Allocate(64, 48, 8)), s, job);
    ASSERT_TRUE(undecorated);
    EXPECT_EQ(undecorated.bpp(), 24u);
    EXPECT_EQ(boxOfPixelsOtherThan(undecorated, kBlack), Box{});

    s = textMark("");
    EXPECT_EQ(boxOfPixelsOtherThan(draw(s), kBlack), Box{}) << "an empty text has no box";
    s = textMark("Huge");
    s.wmFontSize = INT32_MAX;
    Bitmap huge = draw(s, kBlack, 64, 48);
    ASSERT_TRUE(huge);
    EXPECT_EQ(boxOfPixelsOtherThan(huge, kBlack), (Box{0, 0, 64, 48})) << "the box is cut to the picture";
    s = textMark("Colours");
    s.wmFontColor = "FFFFF";
    s.wmBackColor = "GGGGGG";
    EXPECT_EQ(boxOfPixelsOtherThan(draw(s), kBlack), Box{}) << "both colours read as black";
}

TEST_F(RenderText, SeveralThreadsDrawTextAtOnce) {
    ConversionSettings s = textMark("Line one%eol%Line two");
    s.wmTextAntialiasing = 1;
    s.wmTextRotation = 20;
    s.wmTextPosition = 4;
    const Bitmap expected = draw(s);
    std::vector<Bitmap> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&] {
            for (int round = 0; round < 5; ++round) result = draw(s);
        });
    for (auto& t : threads) t.join();
    for (const auto& result : results) EXPECT_TRUE(test::samePixels(result, expected));
}

}  // namespace
}  // namespace pixalto
