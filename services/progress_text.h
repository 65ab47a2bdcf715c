#pragma once
// Texts of the conversion progress dialog: a shortened path and a duration.
#include <cstdint>
#include <string>
#include <string_view>

namespace pixalto {

// The text itself, or, when it is longer than maxChars characters, its first
// and last (maxChars - 3) / 2 characters around "...".
std::string shortenPath(std::string_view text, int maxChars);

// "HH:MM:SS" with at least two digits each, and "Nd:" in front from one day
// on: 65000 gives "00:01:05", 183600000 gives "2d:03:00:00".
std::string formatDuration(int64_t milliseconds);

// Expected time left: the last file's duration times the files still to do,
// the current one included. Taken in 64 bits.
int64_t remainingMillis(int64_t lastFileMillis, int32_t total, int32_t progressIndex);

}  // namespace pixalto
