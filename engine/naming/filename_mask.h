#pragma once
// Output names from the filename mask, the watermark text, temporary names.
#include <string>

#include "core/conversion_settings.h"

namespace pixalto {

// The mask expanded for the job's current file (placeholders of the mask).
std::string expandFilenameMask(const ConversionJob& job, const ConversionSettings& settings);
// The watermark text expanded the same way.
std::string expandWatermarkText(const ConversionJob& job, const ConversionSettings& settings);
// A plain-ASCII temporary file name without extension.
std::string makeTempName();

}  // namespace pixalto
