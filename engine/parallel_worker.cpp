// Conversion on several threads. Files are taken in list order; each one is
// converted on its own copy of the run state, and its results (debug lines,
// the output put in place, the file date, the counters) are published in
// list order, so the outputs, the printed lines and the counts are those of a
// run on one thread. Only runs whose names and watermark do not depend on
// the files before come here.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "core/run_state.h"
#include "engine/jobs.h"
#include "engine/naming/filename_mask.h"
#include "engine/save.h"
#include "engine/worker_internal.h"
#include "platform/console.h"
#include "platform/files.h"

namespace pixalto {

int conversionThreadCount() {
    if (const char* text = std::getenv("PIXALTO_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n > 0) return static_cast<int>(std::min<long>(n, 256));
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(std::min<unsigned>(cores, 256)) : 1;
}

bool outputsDependOnFileOrder(const ConversionSettings& settings) {
    return maskDependsOnFileOrder(settings.filenameMask) ||
           (settings.doWatermark == 1 && maskDependsOnFileOrder(settings.wmText));
}

void runParallelConversion(const std::vector<const InputFileEntry*>& entries, size_t threads, bool debug) {
    ConversionJob& job = conversionJob();
    const ConversionSettings& settings = conversionSettings();
    const ConversionJob base = job;

    std::atomic<size_t> nextEntry{0};
    std::mutex turnLock;
    std::condition_variable turnChanged;
    size_t turn = 0;  // the entry whose results are published next
    int32_t converted = 0;
    int64_t previousMillis = 0;

    const auto work = [&] {
        for (;;) {
            if (!mayGoOn()) return;
            const size_t i = nextEntry++;
            if (i >= entries.size()) return;

            ConversionJob fileJob = base;
            fileJob.inputPath = entries[i]->path;
            fileJob.relativeFolder = entries[i]->relativeFolder;
            {
                std::lock_guard<std::mutex> guard(progressLock());
                WorkerProgress& p = workerProgress();
                if (static_cast<int32_t>(i + 1) > p.progressIndex) {
                    p.progressIndex = static_cast<int32_t>(i + 1);
                    p.progressFile = fileJob.inputPath;
                }
            }

            std::vector<std::string> lines;
            const LinePrinter collect = [&lines](const std::string& line) { lines.push_back(line); };
            PendingCommit pending;
            deferCommitsOnThisThread(&pending);
            int64_t millis = 0;
            bool ok = convertEntry(fileJob, settings, debug, collect, millis);
            deferCommitsOnThisThread(nullptr);

            std::unique_lock<std::mutex> lock(turnLock);
            turnChanged.wait(lock, [&] { return turn == i; });
            // Earlier files are in place now: an output name that two files
            // share ends with the later file's picture, as on one thread.
            if (!pending.tempPath.empty()) {
                if (ok) ok = commitTempFile(pending.tempPath, pending.outputPath);
                else ::unlink(pending.tempPath.c_str());
            }
            printOutcome(ok, fileJob, debug, collect);
            for (const std::string& line : lines) printLine(line);
            {
                // What this file's turn shows is the time of the file before
                // it, as on one thread.
                std::lock_guard<std::mutex> guard(progressLock());
                workerProgress().lastFileMillis = previousMillis;
            }
            if (ok) {
                stampOutputDate(fileJob, settings);
                job.randomNumber = drawRandomNumber();
                ++job.fileCounter;
                ++converted;
                previousMillis = std::max<int64_t>(millis / static_cast<int64_t>(threads), 1000);
            } else {
                previousMillis = 0;
            }
            ++turn;
            turnChanged.notify_all();
        }
    };

    std::vector<std::thread> pool;
    for (size_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();

    std::lock_guard<std::mutex> guard(progressLock());
    workerProgress().resultCount = converted;
}

}  // namespace pixalto
