// Test programs draw with the drawing code they link, whatever folder they
// run from; the module itself is tested through the program.
#include "engine/render/linked_layer.h"

namespace {

[[maybe_unused]] const bool kLinked = (pixalto::useDrawingLayer(&pixalto::linkedDrawingLayer()), true);

}  // namespace
