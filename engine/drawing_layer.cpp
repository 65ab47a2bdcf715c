#include "engine/drawing_layer.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

#include "platform/paths.h"

namespace pixalto {

namespace {

struct LayerState {
    std::mutex lock;
    const DrawingLayer* chosen = nullptr;
    bool triedModule = false;
};

LayerState& state() {
    static LayerState s;
    return s;
}

// The module stays loaded until the process ends: bitmaps and the Qt
// application it made may live as long.
const DrawingLayer* loadModule() {
    const std::string path = programFolder() + kDrawingModuleFile;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        std::fprintf(stderr, "Cannot load the drawing module: %s\n", why ? why : path.c_str());
        return nullptr;
    }
    using Entry = const DrawingLayer* (*)();
    const auto entry = reinterpret_cast<Entry>(::dlsym(handle, kDrawingLayerEntry));
    const DrawingLayer* layer = entry ? entry() : nullptr;
    if (!layer) std::fprintf(stderr, "Cannot load the drawing module: %s has no drawing layer\n", path.c_str());
    return layer;
}

}  // namespace

void useDrawingLayer(const DrawingLayer* layer) {
    LayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.chosen = layer;
    s.triedModule = layer != nullptr;
}

const DrawingLayer* drawingLayer() {
    LayerState& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.triedModule) {
        s.triedModule = true;
        s.chosen = loadModule();
    }
    return s.chosen;
}

Bitmap drawFrame(Bitmap bitmap, const ConversionSettings& settings) {
    if (!settings.doFrame || !bitmap) return bitmap;
    const DrawingLayer* layer = drawingLayer();
    if (!layer) return {};
    return Bitmap(layer->drawFrame(bitmap.release(), settings));
}

Bitmap drawWatermark(Bitmap bitmap, const ConversionSettings& settings, const ConversionJob& job) {
    if (!settings.doWatermark || !bitmap) return bitmap;
    const DrawingLayer* layer = drawingLayer();
    if (!layer) return {};
    return Bitmap(layer->drawWatermark(bitmap.release(), settings, job));
}

bool loadWatermarkFont(const ConversionSettings& settings) {
    const DrawingLayer* layer = drawingLayer();
    return layer && layer->loadWatermarkFont(settings);
}

}  // namespace pixalto
