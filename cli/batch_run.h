#pragma once
// The console's batch run: validation, status lines, import, conversion, summary.
#include <functional>
#include <string>

#include "core/conversion_settings.h"

namespace pixalto {

// Receives one console line at a time.
using LineSink = std::function<void(const std::string& line)>;

// Runs the batch described by the ConversionJob and ConversionSettings that
// the command line filled. Prints its lines (fewer when quiet).
void runBatch(bool quiet);
// The same, printing through the given sink (the jobs' own debug lines still
// go to the console).
void runBatch(bool quiet, const LineSink& print);

// Normalises the input and output of the job and checks the output format and
// every option that the run needs, printing the debug listing when runMode is
// "DEBUG". Stops at the first invalid value: prints its one "Error: " line and
// returns false. Loads the watermark font when a text watermark is on.
bool validateBatch(ConversionJob& job, const ConversionSettings& settings, const LineSink& print);

// Values worked out once per run for the chosen format: formatId,
// targetBitDepth, saveFlags and autoBitDepth.
void deriveRunValues(ConversionJob& job, const ConversionSettings& settings);

}  // namespace pixalto
