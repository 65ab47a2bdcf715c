#pragma once
// The text watermark's font: which families count as installed, the pixel
// size of a point size, and the QGuiApplication that text drawing needs.
#include <QFont>

#include <optional>
#include <string>

#include "core/conversion_settings.h"

namespace pixalto {

// The installed family that fontconfig gives for the requested one, when it
// is that family itself or a substitute configured for it (Liberation Sans
// for Arial); empty when the request only falls through to the default face.
// Answers are remembered; safe from any thread.
std::string resolveFontFamily(const std::string& family);

// Pixels of a font size in points at 96 dots per inch, rounded (14 gives 19).
int fontPixelSize(int points);

// True when a QGuiApplication exists; when none exists, creates one on the
// "offscreen" platform (call from the main thread). False when another kind
// of application object is in the way.
bool ensureGuiApplication();

// The watermark font of the settings, or nothing when the family is not
// installed or no QGuiApplication exists.
std::optional<QFont> watermarkFont(const ConversionSettings& settings);

}  // namespace pixalto
