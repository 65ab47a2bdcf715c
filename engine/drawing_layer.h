#pragma once
// Frames and watermarks are drawn by a layer that needs Qt and fontconfig.
// It lives in a module of its own (pixalto-drawing.so beside the program),
// loaded the first time a run draws, so that runs that draw nothing never
// load those libraries. Programs that link the drawing code in (the tests,
// the desktop) hand it over with useDrawingLayer instead.
#include <FreeImage.h>

#include "core/conversion_settings.h"
#include "engine/bitmap.h"

namespace pixalto {

// The entry points of the drawing layer. Each drawing function takes over
// the bitmap it is given and returns the result (null when drawing failed).
struct DrawingLayer {
    FIBITMAP* (*drawFrame)(FIBITMAP* bitmap, const ConversionSettings& settings);
    FIBITMAP* (*drawWatermark)(FIBITMAP* bitmap, const ConversionSettings& settings, const ConversionJob& job);
    bool (*loadWatermarkFont)(const ConversionSettings& settings);
};

// Name of the function the module exports; it returns const DrawingLayer*.
inline constexpr const char* kDrawingLayerEntry = "pixaltoDrawingLayer";
// File name of the module, in the program folder.
inline constexpr const char* kDrawingModuleFile = "pixalto-drawing.so";

// Uses layer instead of loading the module (nullptr: load the module again).
void useDrawingLayer(const DrawingLayer* layer);

// The layer in use, loading the module on first use. Null when the module
// cannot be loaded; the reason is printed once on stderr.
const DrawingLayer* drawingLayer();

// Draws the solid frame when doFrame is 1; other frame kinds only turn the
// picture to 24 bits. The layer is loaded only when doFrame is not 0.
Bitmap drawFrame(Bitmap bitmap, const ConversionSettings& settings);

// Draws the text (doWatermark 1) or picture (doWatermark 2) watermark; the
// layer is loaded only when doWatermark is not 0.
Bitmap drawWatermark(Bitmap bitmap, const ConversionSettings& settings, const ConversionJob& job);

// Makes the watermark font ready before a run that draws a text watermark.
// False when fontconfig cannot resolve the family or the layer is missing
// (the run then stops with "Error: Invalid watermark font").
bool loadWatermarkFont(const ConversionSettings& settings);

}  // namespace pixalto
