#pragma once
// A one-connection HTTP server on 127.0.0.1 for the update-check tests. It
// runs on a thread of its own, takes one connection, records the request and
// answers in the chosen way; every wait is bounded, so it always ends.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace pixalto::test {

enum class ServerManner {
    Answer,       // sends the reply at once, then closes
    Trickle,      // sends the reply a few bytes at a time
    Silent,       // sends nothing until the client gives up
    CloseAtOnce,  // closes the connection as soon as it is accepted
};

class LocalHttpServer {
public:
    explicit LocalHttpServer(ServerManner manner, std::string reply = {})
        : manner_(manner), reply_(std::move(reply)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LocalHttpServer() {
        thread_.join();
        ::close(listener_);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    uint16_t port() const { return port_; }
    std::string url(const std::string& path = "/files/pixalto.dat") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // The request bytes received (complete once the client has finished).
    std::string request() {
        std::lock_guard<std::mutex> lock(mutex_);
        return request_;
    }

private:
    static bool readable(int fd, int millis) {
        pollfd entry{fd, POLLIN, 0};
        return ::poll(&entry, 1, millis) > 0;
    }

    void serve() {
        if (!readable(listener_, 5000)) return;
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) return;
        if (manner_ != ServerManner::CloseAtOnce) {
            readRequest(connection);
            answer(connection);
        }
        ::close(connection);
    }

    void readRequest(int connection) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        char buffer[1024];
        while (std::chrono::steady_clock::now() < deadline && readable(connection, 100)) {
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) return;
            std::lock_guard<std::mutex> lock(mutex_);
            request_.append(buffer, static_cast<size_t>(got));
            if (request_.find("\r\n\r\n") != std::string::npos) return;
        }
    }

    void answer(int connection) {
        switch (manner_) {
            case ServerManner::Answer:
                ::send(connection, reply_.data(), reply_.size(), MSG_NOSIGNAL);
                break;
            case ServerManner::Trickle:
                for (size_t at = 0; at < reply_.size(); at += 4) {
                    ::send(connection, reply_.data() + at, std::min<size_t>(4, reply_.size() - at), MSG_NOSIGNAL);
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                break;
            case ServerManner::Silent: {
                // Until the client closes its end, at most 5 seconds.
                char byte;
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                while (std::chrono::steady_clock::now() < deadline)
                    if (readable(connection, 50) && ::recv(connection, &byte, 1, 0) <= 0) break;
                break;
            }
            case ServerManner::CloseAtOnce:
                break;
        }
    }

    ServerManner manner_;
    std::string reply_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::mutex mutex_;
    std::string request_;
    std::thread thread_;
};

// A loopback port that nothing listens on (it was free a moment ago).
inline uint16_t unusedLocalPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace pixalto::test
