#include "engine/render/linked_layer.h"

#include "engine/render/render.h"

namespace pixalto {

namespace {

FIBITMAP* frameEntry(FIBITMAP* bitmap, const ConversionSettings& settings) {
    return renderFrame(Bitmap(bitmap), settings).release();
}

FIBITMAP* watermarkEntry(FIBITMAP* bitmap, const ConversionSettings& settings, const ConversionJob& job) {
    return renderWatermark(Bitmap(bitmap), settings, job).release();
}

constexpr DrawingLayer kLayer{frameEntry, watermarkEntry, prepareWatermarkFont};

}  // namespace

const DrawingLayer& linkedDrawingLayer() { return kLayer; }

}  // namespace pixalto
