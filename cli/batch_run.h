#pragma once
// The console's batch run: validation, status lines, import, conversion, summary.

namespace pixalto {

// Runs the batch described by the ConversionJob and ConversionSettings that
// the command line filled. Prints its lines (fewer when quiet).
void runBatch(bool quiet);

}  // namespace pixalto
