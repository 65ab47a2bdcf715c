// Entry point of the drawing module (pixalto-drawing.so), the one symbol
// the module exports.
#include "engine/render/linked_layer.h"

extern "C" __attribute__((visibility("default"))) const pixalto::DrawingLayer* pixaltoDrawingLayer() {
    return &pixalto::linkedDrawingLayer();
}
