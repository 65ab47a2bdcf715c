// Steps that pass the picture through unchanged until they are implemented.
#include "engine/transforms/transforms.h"

namespace pixalto {

Bitmap rotateImage(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap resizeImage(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap flipImage(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap correctColors(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap convertToGreyscale(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap applyThreshold(Bitmap bitmap, const ConversionSettings&) { return bitmap; }
Bitmap applyDither(Bitmap bitmap, const ConversionSettings&) { return bitmap; }

}  // namespace pixalto
