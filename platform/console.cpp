#include "platform/console.h"

#include <cstdio>
#include <mutex>

namespace pixalto {

void printLine(const std::string& text) {
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void setConsoleTitle(const std::string&) {}
void waitForKey() {}

}  // namespace pixalto
