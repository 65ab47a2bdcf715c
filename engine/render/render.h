#pragma once
// Solid frame and text or picture watermark, drawn onto the working bitmap.
#include <string>

#include "core/conversion_settings.h"
#include "engine/bitmap.h"

namespace pixalto {

// Draws the solid frame when doFrame is 1.
Bitmap renderFrame(Bitmap bitmap, const ConversionSettings& settings);

// Draws the text (doWatermark 1) or picture (doWatermark 2) watermark. The
// text comes from expanding wmText for the current file of the job.
Bitmap renderWatermark(Bitmap bitmap, const ConversionSettings& settings, const ConversionJob& job);

// Makes the watermark font ready before a run that draws a text watermark.
// False when fontconfig cannot resolve the family (the run then stops with
// "Error: Invalid watermark font").
bool prepareWatermarkFont(const ConversionSettings& settings);

}  // namespace pixalto
