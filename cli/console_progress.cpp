#include "cli/console_progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>

#include "engine/jobs.h"
#include "platform/paths.h"
#include "services/progress_text.h"

namespace pixalto {

std::string progressLineText(int32_t index, int32_t total, const std::string& file, int64_t elapsedMillis,
                             int columns) {
    const int32_t done = index > 1 ? index - 1 : 0;
    std::string left = "--:--:--";
    if (done > 0 && total >= index) left = formatDuration(elapsedMillis / done * (total - done));
    std::string head(1, '[');
    head.append(std::to_string(index)).append(1, '/').append(std::to_string(total)).append("] ");
    const std::string tail = "  " + left + " left";
    const int room = columns - 1 - static_cast<int>(head.size() + tail.size());
    if (room < 8) return (head + left).substr(0, columns > 1 ? static_cast<size_t>(columns - 1) : 1);
    return head + shortenPath(filePart(file), room) + tail;
}

bool progressLineWanted() { return ::isatty(STDERR_FILENO) == 1; }

namespace {

int terminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

void drawLine(const std::string& text) {
    // Carriage return, the text, then clear to the end of the line.
    std::fprintf(stderr, "\r%s\x1B[K", text.c_str());
    std::fflush(stderr);
}

std::atomic<bool> workerEnded{false};

void convertAndSignal() {
    runConversionWorker();
    workerEnded = true;
}

}  // namespace

int32_t runConversionWithProgress(bool show, int32_t total) {
    {
        std::lock_guard<std::mutex> guard(progressLock());
        workerProgress().resultCount = 0;
    }
    workerEnded = false;
    std::thread worker = startJob(convertAndSignal);
    if (show) {
        const auto started = std::chrono::steady_clock::now();
        std::string shown;
        for (;;) {
            int32_t index = 0;
            std::string file;
            const bool running = !workerEnded;
            {
                std::lock_guard<std::mutex> guard(progressLock());
                index = workerProgress().progressIndex;
                file = workerProgress().progressFile;
            }
            if (index > 0) {
                const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - started)
                                         .count();
                const std::string text = progressLineText(index, total, file, elapsed, terminalColumns());
                if (text != shown) drawLine(shown = text);
            }
            if (!running) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        worker.join();
        drawLine("");
    } else {
        worker.join();
    }
    std::lock_guard<std::mutex> guard(progressLock());
    return workerProgress().resultCount;
}

}  // namespace pixalto
