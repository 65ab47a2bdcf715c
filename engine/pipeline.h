#pragma once
// Turns the job's current input file into one output file.
#include "core/conversion_settings.h"
#include "engine/bitmap.h"

namespace pixalto {

// Loads job.inputPath, runs every picture step, names and writes the output.
// True when the output file was written.
bool convertFile(ConversionJob& job, const ConversionSettings& settings);

// Save flags of the chosen output format.
int saveFlagsFor(const ConversionSettings& settings, const std::string& outputExtension);

}  // namespace pixalto
