#pragma once
// The update check: one plain HTTP/1.0 GET of the maker's update data file,
// whose body starts with the newest version number (291 for 2.9.1).
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/message_boxes.h"
#include "core/general_settings.h"
#include "services/targets.h"

namespace pixalto {

// This program's version in the update data file's form.
inline constexpr int kProgramVersionNumber = 290;
inline constexpr size_t kUpdateReplyBytes = 2048;

// Host, request path and port of an address. The scheme is not used: the
// request always goes out as plain HTTP, on port 80 unless the address names one.
struct HttpAddress {
    std::string host;
    std::string path;  // "/" and the address's path without its leading "/"
    uint16_t port = 80;
    bool operator==(const HttpAddress&) const = default;
};
// Nothing when the address has no host or an unusable port.
std::optional<HttpAddress> splitHttpAddress(std::string_view url);

// The request's bytes, every line ended by CR LF and an empty line last.
std::string versionRequest(const HttpAddress& address, std::string_view userAgent);

// The reply's body (between the first and second empty line), spaces removed
// from both ends, cut to its first three characters.
std::string versionTextOfReply(std::string_view reply);

struct FetchLimits {
    std::chrono::milliseconds pollInterval{20};
    // The longest wait for data, for the connection and for each read.
    std::chrono::milliseconds dataWait{10000};
};

// Fetches the data file and gives at most the first three characters of its
// body, or "" when anything fails.
std::string fetchVersionText(const std::string& url, const std::string& userAgent, const FetchLimits& limits = {});

// The leading digits of a version text; 0 when there are none.
int versionNumberOf(std::string_view text);

enum class UpdateVerdict { ConnectionProblem, NoUpdate, NewVersion };
UpdateVerdict judgeVersion(int versionNumber);

// Fetches updateDataUrl() and tells the user: an error box, "No Update", or the
// question whether to download, whose Yes opens the product homepage.
UpdateVerdict checkForUpdate(MessageBoxes& boxes, TargetOpener& opener, const FetchLimits& limits = {});

// Days between scheduled checks for an update range; nothing for "Never" (5).
std::optional<int> updateIntervalDays(int32_t updateRange);

// When the scheduled check is due (updateDate plus the interval lies before
// now), asks whether to check, checks on Yes, and sets updateDate to now.
// True when it was due.
bool runScheduledUpdateCheck(GeneralSettings& general, int64_t now, MessageBoxes& boxes, TargetOpener& opener);
// The same on the process's settings and the present moment.
bool runScheduledUpdateCheck(MessageBoxes& boxes, TargetOpener& opener);

}  // namespace pixalto
