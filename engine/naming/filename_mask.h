#pragma once
// Output names from the filename mask, the watermark text, temporary names.
//
// Placeholders, processed in this order: %filename% %filename[u]%
// %filename[l]% %filename[t]% %ext% %ext[u]% %ext[t]% %yyyy% %mm% %dd% %hh%
// %ii% %ss% %bpp% %width% %height% %frame% %rnd% %n%, matched in any letter
// case. A replacement is never searched again, so a file name that holds a
// placeholder's text keeps it literally.
#include <cstdint>
#include <string>

#include "core/conversion_settings.h"

namespace pixalto {

// The mask expanded for the job's current file (placeholders of the mask).
std::string expandFilenameMask(const ConversionJob& job, const ConversionSettings& settings);
// The watermark text expanded the same way.
std::string expandWatermarkText(const ConversionJob& job, const ConversionSettings& settings);
// A plain-ASCII temporary file name without extension.
std::string makeTempName();

// The same with the moment of conversion given as a local date value (seconds
// since 1970-01-01 00:00:00 local time); the forms above read the clock once.
std::string expandFilenameMask(const ConversionJob& job, const ConversionSettings& settings, int64_t localNow);
std::string expandWatermarkText(const ConversionJob& job, const ConversionSettings& settings, int64_t localNow);
std::string makeTempName(int64_t localNow);

// True when the text names a value that depends on the files converted before
// ("%n%", "%rnd%" or "%bpp%", any letter case): such a mask, or watermark
// text, needs the files converted one after the other in list order.
bool maskDependsOnFileOrder(const std::string& mask);

}  // namespace pixalto
