#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

namespace pixalto {

namespace {

std::mutex& consoleLock() {
    static std::mutex lock;
    return lock;
}

// Reads one byte, retrying when a signal interrupts the read. End of input and
// read errors end the wait as a key would.
void readOneByte() {
    unsigned char byte = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
        if (n < 0 && errno == EINTR) continue;
        return;
    }
}

}  // namespace

void printLine(const std::string& text) {
    std::lock_guard<std::mutex> guard(consoleLock());
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void setConsoleTitle(const std::string& title) {
    if (!::isatty(STDOUT_FILENO)) return;
    std::lock_guard<std::mutex> guard(consoleLock());
    std::fputs("\x1B]0;", stdout);
    std::fwrite(title.data(), 1, title.size(), stdout);
    std::fputc('\a', stdout);
    std::fflush(stdout);
}

void waitForKey() {
    std::fflush(stdout);
    termios saved {};
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved) != 0) {
        readOneByte();
        return;
    }
    // One key, unechoed, without waiting for Enter. Ctrl+C counts as a key too,
    // so the terminal is always restored.
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (::tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) {
        readOneByte();
        return;
    }
    readOneByte();
    // A key that sends several bytes (arrows, function keys) must not spill
    // its rest into the shell.
    ::tcflush(STDIN_FILENO, TCIFLUSH);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace pixalto
