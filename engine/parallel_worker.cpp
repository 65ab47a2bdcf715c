// Conversion on several threads. Files are taken in list order; each one is
// converted on its own copy of the run state, and its results (debug lines,
// the output put in place, the file date, the counters) are published in
// list order, so the outputs, the printed lines and the counts are those of a
// run on one thread. Only runs whose names and watermark do not depend on
// the files before come here.
#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <map>
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

namespace {

// What converting one file left to publish.
struct FileOutcome {
    ConversionJob job;
    bool converted = false;
    int64_t millis = 0;
    std::vector<std::string> lines;
    PendingCommit pending;
};

}  // namespace

void runParallelConversion(const std::vector<const InputFileEntry*>& entries, size_t threads, bool debug) {
    ConversionJob& job = conversionJob();
    const ConversionSettings& settings = conversionSettings();
    const ConversionJob base = job;

    // A thread that finishes a file leaves its outcome and takes the next
    // file at once; whoever completes the file whose turn it is publishes it
    // and every finished file after it. Threads run at most this many files
    // ahead of the publishing, so few finished outputs wait as temporary files.
    const size_t window = threads * 4;

    std::mutex lock;
    std::condition_variable turnChanged;
    size_t nextEntry = 0;
    size_t turn = 0;  // the entry whose outcome is published next
    std::map<size_t, FileOutcome> finished;
    int32_t converted = 0;
    int64_t previousMillis = 0;

    // Called with the lock held.
    const auto publishFinished = [&] {
        for (auto it = finished.find(turn); it != finished.end(); it = finished.find(turn)) {
            FileOutcome& f = it->second;
            // Earlier files are in place now: an output name that two files
            // share ends with the later file's picture, as on one thread.
            if (!f.pending.tempPath.empty()) {
                if (f.converted) f.converted = commitTempFile(f.pending.tempPath, f.pending.outputPath);
                else ::unlink(f.pending.tempPath.c_str());
            }
            std::vector<std::string>& lines = f.lines;
            printOutcome(f.converted, f.job, debug, [&lines](const std::string& line) { lines.push_back(line); });
            for (const std::string& line : lines) printLine(line);
            {
                // What this file's turn shows is the time of the file before
                // it, as on one thread.
                std::lock_guard<std::mutex> guard(progressLock());
                workerProgress().lastFileMillis = previousMillis;
            }
            if (f.converted) {
                stampOutputDate(f.job, settings);
                job.randomNumber = drawRandomNumber();
                ++job.fileCounter;
                ++converted;
                previousMillis = std::max<int64_t>(f.millis / static_cast<int64_t>(threads), 1000);
            } else {
                previousMillis = 0;
            }
            finished.erase(it);
            ++turn;
        }
        turnChanged.notify_all();
    };

    const auto work = [&] {
        for (;;) {
            if (!mayGoOn()) return;
            size_t i;
            {
                std::unique_lock<std::mutex> guard(lock);
                turnChanged.wait(guard, [&] { return nextEntry >= entries.size() || nextEntry < turn + window; });
                if (nextEntry >= entries.size()) return;
                i = nextEntry++;
            }

            FileOutcome f;
            f.job = base;
            f.job.inputPath = entries[i]->path;
            f.job.relativeFolder = entries[i]->relativeFolder;
            {
                std::lock_guard<std::mutex> guard(progressLock());
                WorkerProgress& p = workerProgress();
                if (static_cast<int32_t>(i + 1) > p.progressIndex) {
                    p.progressIndex = static_cast<int32_t>(i + 1);
                    p.progressFile = f.job.inputPath;
                }
            }

            const LinePrinter collect = [&f](const std::string& line) { f.lines.push_back(line); };
            deferCommitsOnThisThread(&f.pending);
            f.converted = convertEntry(f.job, settings, debug, collect, f.millis);
            deferCommitsOnThisThread(nullptr);

            std::lock_guard<std::mutex> guard(lock);
            finished.emplace(i, std::move(f));
            publishFinished();
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
