#pragma once
// The drawing layer of this library, for programs that link it in and for
// the drawing module.
#include "engine/drawing_layer.h"

namespace pixalto {

const DrawingLayer& linkedDrawingLayer();

}  // namespace pixalto
