#pragma once
// Picture steps of the pipeline. Each takes the working bitmap and returns the
// bitmap to continue with (empty when the step failed); a step that is
// switched off returns its input unchanged.
#include <string_view>

#include "core/conversion_settings.h"
#include "engine/bitmap.h"

namespace pixalto {

Bitmap rotateImage(Bitmap bitmap, const ConversionSettings& settings);
Bitmap resizeImage(Bitmap bitmap, const ConversionSettings& settings);
Bitmap flipImage(Bitmap bitmap, const ConversionSettings& settings);
Bitmap correctColors(Bitmap bitmap, const ConversionSettings& settings);
Bitmap convertToGreyscale(Bitmap bitmap, const ConversionSettings& settings);
Bitmap applyThreshold(Bitmap bitmap, const ConversionSettings& settings);
Bitmap applyDither(Bitmap bitmap, const ConversionSettings& settings);

// Converts to the target depth (1, 4, 8, 16, 24, 32, 48, 96); any other depth
// gives an empty bitmap. The output extension picks greyscale or colour
// quantising for 8 bits and the 16-bit layout.
Bitmap convertBitDepth(Bitmap bitmap, int targetDepth, std::string_view outputExtension = {});

// Writers whose 8-bit pictures can only be grey levels.
bool storesGreyOnly(std::string_view outputExtension);

}  // namespace pixalto
