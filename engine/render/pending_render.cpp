// Frame and watermark pass the picture through unchanged until they are implemented.
#include "engine/render/render.h"

namespace pixalto {

Bitmap drawFrame(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap drawWatermark(Bitmap bitmap, const ConversionSettings&, const ConversionJob&) { return bitmap; }
bool loadWatermarkFont(const ConversionSettings&) { return true; }

}  // namespace pixalto
