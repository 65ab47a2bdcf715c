#include "services/update_check.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "config/language_table.h"
#include "platform/dates.h"

namespace pixalto {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr size_t kVersionCharacters = 3;
constexpr int64_t kSecondsPerDay = 86400;

class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() {
        if (fd >= 0) ::close(fd);
    }
    int fd = -1;
};

// Waits until the socket is ready for the events or the deadline has passed,
// looking every poll interval.
bool waitFor(int fd, short events, Clock::time_point deadline, const FetchLimits& limits) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(limits.pollInterval.count()));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
        if (Clock::now() > deadline) return false;
    }
}

// Connects to the first IPv4 address of the host that accepts, without
// waiting longer than the data wait for any one of them.
bool connectTo(const HttpAddress& address, Connection& connection, const FetchLimits& limits) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &found) != 0) return false;
    bool connected = false;
    for (addrinfo* candidate = found; candidate != nullptr && !connected; candidate = candidate->ai_next) {
        Connection attempt;
        attempt.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (attempt.fd < 0) continue;
        if (::connect(attempt.fd, candidate->ai_addr, candidate->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) continue;
            if (!waitFor(attempt.fd, POLLOUT, Clock::now() + limits.dataWait, limits)) continue;
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(attempt.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) continue;
        }
        std::swap(connection.fd, attempt.fd);
        connected = true;
    }
    ::freeaddrinfo(found);
    return connected;
}

bool sendAll(int fd, std::string_view bytes, const FetchLimits& limits) {
    const Clock::time_point deadline = Clock::now() + limits.dataWait;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!waitFor(fd, POLLOUT, deadline, limits)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// Reads the reply into the buffer until the server closes the connection, a
// read fails, the buffer is full or no data comes within the data wait (for
// the first data, and again for the rest of the reply). Returns the bytes read.
size_t receiveReply(int fd, std::array<char, kUpdateReplyBytes>& buffer, const FetchLimits& limits) {
    size_t filled = 0;
    Clock::time_point deadline = Clock::now() + limits.dataWait;
    while (filled < buffer.size()) {
        if (!waitFor(fd, POLLIN, deadline, limits)) break;
        const ssize_t got = ::recv(fd, buffer.data() + filled, buffer.size() - filled, 0);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
            break;
        }
        if (filled == 0) deadline = Clock::now() + limits.dataWait;
        filled += static_cast<size_t>(got);
    }
    return filled;
}

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Control characters would end a request line early; a blank cannot stand in an address.
bool hasControlCharacter(std::string_view s, bool blanksToo) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7F' || (blanksToo && c == ' ')) return true;
    return false;
}

}  // namespace

std::optional<HttpAddress> splitHttpAddress(std::string_view url) {
    if (hasControlCharacter(url, true)) return std::nullopt;
    if (const size_t scheme = url.find("://"); scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
    const size_t slash = url.find('/');
    std::string_view site = url.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view() : url.substr(slash + 1);
    if (const size_t at = site.rfind('@'); at != std::string_view::npos) site.remove_prefix(at + 1);

    HttpAddress address;
    if (const size_t colon = site.rfind(':'); colon != std::string_view::npos) {
        const std::string_view port = site.substr(colon + 1);
        site = site.substr(0, colon);
        if (!port.empty()) {
            unsigned value = 0;
            for (const char c : port) {
                if (c < '0' || c > '9') return std::nullopt;
                value = value * 10 + static_cast<unsigned>(c - '0');
                if (value > 65535) return std::nullopt;
            }
            if (value == 0) return std::nullopt;
            address.port = static_cast<uint16_t>(value);
        }
    }
    if (site.empty()) return std::nullopt;
    address.host = std::string(site);
    if (!path.empty() && path.front() == '/') path.remove_prefix(1);
    address.path.assign(1, '/').append(path);
    return address;
}

std::string versionRequest(const HttpAddress& address, std::string_view userAgent) {
    std::string request;
    request += "GET " + address.path + " HTTP/1.0\r\n";
    request += "Host: " + address.host + "\r\n";
    request += "Accept: */*\r\n";
    request += "User-Agent: " + std::string(userAgent) + "\r\n";
    request += "Connection: close\r\n";
    request += "\r\n";
    return request;
}

std::string versionTextOfReply(std::string_view reply) {
    const size_t headerEnd = reply.find(kHeaderEnd);
    if (headerEnd == std::string_view::npos) return {};
    std::string_view body = reply.substr(headerEnd + kHeaderEnd.size());
    body = body.substr(0, body.find(kHeaderEnd));
    return std::string(trimSpaces(body).substr(0, kVersionCharacters));
}

std::string fetchVersionText(const std::string& url, const std::string& userAgent, const FetchLimits& limits) {
    if (url.empty() || hasControlCharacter(userAgent, false)) return {};
    const std::optional<HttpAddress> address = splitHttpAddress(url);
    if (!address) return {};
    Connection connection;
    if (!connectTo(*address, connection, limits)) return {};
    if (!sendAll(connection.fd, versionRequest(*address, userAgent), limits)) return {};
    std::array<char, kUpdateReplyBytes> buffer{};
    const size_t filled = receiveReply(connection.fd, buffer, limits);
    const std::string_view reply(buffer.data(), ::strnlen(buffer.data(), filled));
    return versionTextOfReply(reply);
}

int versionNumberOf(std::string_view text) {
    int64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        number = std::min<int64_t>(number * 10 + (c - '0'), INT32_MAX);
    }
    return static_cast<int>(number);
}

UpdateVerdict judgeVersion(int versionNumber) {
    if (versionNumber == 0) return UpdateVerdict::ConnectionProblem;
    return versionNumber <= kProgramVersionNumber ? UpdateVerdict::NoUpdate : UpdateVerdict::NewVersion;
}

UpdateVerdict checkForUpdate(MessageBoxes& boxes, TargetOpener& opener, const FetchLimits& limits) {
    const UpdateVerdict verdict = judgeVersion(versionNumberOf(fetchVersionText(updateDataUrl(), kProductTitle, limits)));
    switch (verdict) {
        case UpdateVerdict::ConnectionProblem:
            boxes.showError(languageText("Msg", "Internet connection problems"));
            break;
        case UpdateVerdict::NoUpdate:
            boxes.showInfo(languageText("Msg", "No Update"), languageText("Msg", "No Update Text"));
            break;
        case UpdateVerdict::NewVersion:
            if (boxes.ask(Question::DownloadUpdate)) opener.openTarget(homepageTarget());
            break;
    }
    return verdict;
}

std::optional<int> updateIntervalDays(int32_t updateRange) {
    static constexpr int kDays[] = {1, 7, 30, 90, 180};
    constexpr int32_t kNever = 5;
    if (updateRange == kNever) return std::nullopt;
    if (updateRange >= 0 && updateRange < static_cast<int32_t>(std::size(kDays))) return kDays[updateRange];
    return 30;
}

bool runScheduledUpdateCheck(GeneralSettings& general, int64_t now, MessageBoxes& boxes, TargetOpener& opener) {
    const std::optional<int> days = updateIntervalDays(general.updateRange);
    if (!days || int64_t{general.updateDate} + *days * kSecondsPerDay >= now) return false;
    if (boxes.ask(Question::CheckForUpdates)) checkForUpdate(boxes, opener);
    general.updateDate = static_cast<int32_t>(now);
    return true;
}

bool runScheduledUpdateCheck(MessageBoxes& boxes, TargetOpener& opener) {
    return runScheduledUpdateCheck(generalSettings(), localDateValueNow(), boxes, opener);
}

}  // namespace pixalto
