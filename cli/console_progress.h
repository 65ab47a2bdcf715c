#pragma once
// A progress line on the terminal while a console batch converts: one line on
// stderr that rewrites itself and is erased when the conversion ends.
#include <cstdint>
#include <string>

namespace pixalto {

// "[3/24] name.pcx  00:00:12 left", at most `columns` characters. The time
// left is estimated from the time the files before the current one took.
std::string progressLineText(int32_t index, int32_t total, const std::string& file, int64_t elapsedMillis,
                             int columns);

// Runs the conversion worker with a fresh result count and waits for it;
// while it runs and `show` is set, draws the progress line on stderr.
// Returns the number of files converted.
int32_t runConversionWithProgress(bool show, int32_t total);

// True when a progress line may be drawn: stderr is a terminal.
bool progressLineWanted();

}  // namespace pixalto
