// Hands a 4000 x 3000 canvas to FreeImage by copying its rows directly and
// through an in-memory PNG, checks that both give the same pixels, and prints
// the time each takes.
//
// Build after the engine library (from the repository root):
//   g++ -std=c++20 -O2 -fPIC -I. bench/render_bridge_bench.cpp \
//       build/<dir>/libpixalto_engine.a build/<dir>/libpixalto_config.a \
//       build/<dir>/libpixalto_core.a build/<dir>/libpixalto_platform.a \
//       $(pkg-config --cflags --libs Qt6Gui fontconfig) -lfreeimage -o /tmp/render_bridge_bench
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#include "engine/render/canvas.h"

using namespace pixalto;

namespace {

bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (!a || !b || a.width() != b.width() || a.height() != b.height() || a.bpp() != 32 || b.bpp() != 32)
        return false;
    for (unsigned y = 0; y < a.height(); ++y)
        if (std::memcmp(FreeImage_GetScanLine(a.get(), y), FreeImage_GetScanLine(b.get(), y), a.width() * 4) != 0)
            return false;
    return true;
}

template <typename F>
double bestMillis(int rounds, F&& run) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main() {
    // A frame-like canvas: transparent inside, translucent bands, some noise.
    QImage canvas = makeCanvas(4000, 3000);
    const FilledShape shapes[] = {
        {QPolygonF({{0, 0}, {4000, 0}, {3800, 200}, {200, 200}}), QColor(200, 30, 30, 255)},
        {QPolygonF({{0, 3000}, {0, 0}, {200, 200}, {200, 2800}}), QColor(30, 200, 30, 255)},
    };
    fillShapes(canvas, shapes);
    QImage translucent = makeCanvas(4000, 3000);
    drawCanvas(translucent, canvas, 0, 0, 128);
    std::mt19937 random(7);
    for (int y = 1000; y < 2000; ++y)
        for (int x = 1000; x < 3000; ++x)
            translucent.setPixel(x, y, qPremultiply(qRgba(random() & 255, random() & 255, random() & 255, random() & 255)));

    const bool same = samePixels(canvasToBitmap(translucent), canvasToBitmapViaPng(translucent));
    const double direct = bestMillis(5, [&] { canvasToBitmap(translucent); });
    const double png = bestMillis(3, [&] { canvasToBitmapViaPng(translucent); });
    std::printf("same pixels: %s\ndirect rows: %.1f ms\nin-memory PNG: %.1f ms\n", same ? "yes" : "NO", direct, png);
    return same ? 0 : 1;
}
