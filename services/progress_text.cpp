#include "services/progress_text.h"

#include <cstdio>

#include "services/characters.h"

namespace pixalto {

std::string shortenPath(std::string_view text, int maxChars) {
    if (text.empty() || maxChars < 0 || characterCount(text) <= static_cast<size_t>(maxChars))
        return std::string(text);
    const size_t keep = maxChars >= 3 ? static_cast<size_t>((maxChars - 3) / 2) : 0;
    return std::string(firstCharacters(text, keep)) + "..." + std::string(lastCharacters(text, keep));
}

std::string formatDuration(int64_t milliseconds) {
    int64_t days = 0, hours = 0, minutes = 0, seconds = 0;
    if (milliseconds >= 1000) {
        const int64_t s = milliseconds / 1000;
        if (s < 60) {
            seconds = s;
        } else {
            minutes = s / 60;
            seconds = s % 60;
            if (minutes >= 60) {
                hours = s / 3600;
                minutes %= 60;
                if (hours >= 24) {
                    days = s / 86400;
                    hours %= 24;
                }
            }
        }
    }
    char text[64];
    if (days > 0)
        std::snprintf(text, sizeof text, "%lldd:%02lld:%02lld:%02lld", static_cast<long long>(days),
                      static_cast<long long>(hours), static_cast<long long>(minutes), static_cast<long long>(seconds));
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(hours),
                      static_cast<long long>(minutes), static_cast<long long>(seconds));
    return text;
}

int64_t remainingMillis(int64_t lastFileMillis, int32_t total, int32_t progressIndex) {
    return lastFileMillis * (int64_t{total} - progressIndex + 1);
}

}  // namespace pixalto
