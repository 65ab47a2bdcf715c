#include "engine/jobs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <condition_variable>
#include <deque>
#include <map>
#include <string_view>
#include <thread>
#include <vector>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/pipeline.h"
#include "engine/signatures/file_signature.h"
#include "engine/worker_internal.h"
#include "platform/console.h"
#include "platform/dates.h"
#include "platform/paths.h"

namespace pixalto {

WorkerProgress& workerProgress() {
    static WorkerProgress progress;
    return progress;
}

std::mutex& progressLock() {
    static std::mutex lock;
    return lock;
}

std::thread startJob(JobBody body) {
    {
        std::lock_guard<std::mutex> guard(progressLock());
        WorkerProgress& p = workerProgress();
        p.progressIndex = 0;
        p.progressFile.clear();
        p.runFlag = 1;
    }
    return std::thread(body);
}

void runJobAndWait(JobBody body) { startJob(body).join(); }

void requestStop() {
    std::lock_guard<std::mutex> guard(progressLock());
    workerProgress().runFlag = 0;
}

bool mayGoOn() {
    std::lock_guard<std::mutex> guard(progressLock());
    return workerProgress().runFlag == 1;
}

namespace {

void countProgress() {
    std::lock_guard<std::mutex> guard(progressLock());
    ++workerProgress().progressIndex;
}

void addToResult(int32_t count) {
    std::lock_guard<std::mutex> guard(progressLock());
    workerProgress().resultCount += count;
}

enum class EntryKind { File, Folder, Rejected };

struct FolderEntry {
    std::string path;  // the folder's path and the entry's name
    EntryKind kind;
    int64_t size;      // of a File, as fileSizeOf gives it
};

// The folder's entries sorted by name (byte order). A real folder is a
// folder; a link to a folder is left out, so a scan never follows links and
// cannot loop; everything else (a link to a file included) is a file, or
// Rejected when the add-file rule will refuse its name anyway.
// False when the folder cannot be listed.
bool listFolder(const std::string& folder, std::vector<FolderEntry>& out) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    const int dirFd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                if (S_ISDIR(st.st_mode)) type = DT_DIR;
                else if (S_ISLNK(st.st_mode)) type = DT_LNK;
            }
        }
        EntryKind kind = EntryKind::File;
        if (type == DT_DIR) {
            kind = EntryKind::Folder;
        } else if (type == DT_LNK) {
            struct stat st {};
            if (::fstatat(dirFd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)) continue;
        }
        if (kind == EntryKind::File && !hasAcceptedExtension(name)) kind = EntryKind::Rejected;
        int64_t size = 0;
        if (kind == EntryKind::File) {
            // Asked of this folder: cheaper than a walk of the whole path.
            struct stat st {};
            size = ::fstatat(dirFd, e->d_name, &st, 0) != 0 ? -1 : S_ISDIR(st.st_mode) ? -2 : st.st_size;
        }
        std::string path;
        path.reserve(folder.size() + name.size() + 1);
        path.append(folder).append(name);
        if (kind == EntryKind::Folder) path.push_back(kPathSeparator);
        out.push_back({std::move(path), kind, size});
    }
    ::closedir(dir);
    const auto nameOf = [&folder](const FolderEntry& e) {
        std::string_view name(e.path);
        name.remove_prefix(folder.size());
        if (e.kind == EntryKind::Folder) name.remove_suffix(1);
        return name;
    };
    std::sort(out.begin(), out.end(),
              [&](const FolderEntry& a, const FolderEntry& b) { return nameOf(a) < nameOf(b); });
    return true;
}

// Lists the folders of a tree walk ahead of the walk on a second thread.
// Listing (one size query per file included) is most of a scan's time; the
// walk itself adds files in its own order, so the result is the same as
// listing every folder in turn.
class FolderPrefetcher {
public:
    FolderPrefetcher() {
        if (std::thread::hardware_concurrency() > 1) helper_ = std::thread([this] { run(); });
    }
    ~FolderPrefetcher() {
        {
            std::lock_guard<std::mutex> guard(lock_);
            stopping_ = true;
        }
        changed_.notify_all();
        if (helper_.joinable()) helper_.join();
    }

    // Folders the walk will list later, in the order it will reach them.
    void expect(const std::vector<const std::string*>& folders) {
        if (!helper_.joinable() || folders.empty()) return;
        {
            std::lock_guard<std::mutex> guard(lock_);
            for (const std::string* f : folders) {
                slots_.try_emplace(*f);
                queue_.push_back(*f);
            }
        }
        changed_.notify_all();
    }

    // The folder's entries. While the helper is at work on this folder, the
    // walk lists a later folder itself rather than wait, so both threads list.
    bool list(const std::string& folder, std::vector<FolderEntry>& out) {
        std::unique_lock<std::mutex> guard(lock_);
        const auto it = slots_.find(folder);
        if (it == slots_.end()) {
            guard.unlock();
            return listFolder(folder, out);
        }
        while (it->second.state != State::Done) {
            if (it->second.state == State::Waiting) {
                listInto(it, guard);
                continue;
            }
            const auto later = takeWaiting();
            if (later != slots_.end()) listInto(later, guard);
            else changed_.wait(guard);
        }
        const bool ok = it->second.ok;
        out = std::move(it->second.entries);
        slots_.erase(it);
        return ok;
    }

private:
    enum class State { Waiting, Listing, Done };
    struct Slot {
        State state = State::Waiting;
        bool ok = false;
        std::vector<FolderEntry> entries;
    };
    using SlotIterator = std::map<std::string, Slot>::iterator;

    // The next expected folder that nobody lists yet (slots_.end() if none).
    SlotIterator takeWaiting() {
        while (!queue_.empty()) {
            const auto it = slots_.find(queue_.front());
            queue_.pop_front();
            if (it != slots_.end() && it->second.state == State::Waiting) return it;
        }
        return slots_.end();
    }

    // Lists the slot's folder with the lock released.
    void listInto(SlotIterator it, std::unique_lock<std::mutex>& guard) {
        it->second.state = State::Listing;
        guard.unlock();
        std::vector<FolderEntry> entries;
        const bool ok = listFolder(it->first, entries);
        guard.lock();
        it->second.ok = ok;
        it->second.entries = std::move(entries);
        it->second.state = State::Done;
        changed_.notify_all();
    }

    void run() {
        std::unique_lock<std::mutex> guard(lock_);
        for (;;) {
            changed_.wait(guard, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            const auto it = takeWaiting();
            if (it != slots_.end()) listInto(it, guard);
        }
    }

    std::mutex lock_;
    std::condition_variable changed_;
    std::map<std::string, Slot> slots_;  // node-based: iterators stay valid
    std::deque<std::string> queue_;
    bool stopping_ = false;
    std::thread helper_;
};

// Adds the files of a tree, in walk order; returns the number added.
int32_t addTree(const std::string& folder, FolderPrefetcher& prefetcher) {
    std::vector<FolderEntry> entries;
    if (!prefetcher.list(folder, entries)) return 0;
    std::vector<const std::string*> laterFolders;
    for (const FolderEntry& entry : entries)
        if (entry.kind == EntryKind::Folder) laterFolders.push_back(&entry.path);
    if (!laterFolders.empty()) laterFolders.erase(laterFolders.begin());  // the first one is listed next, here
    prefetcher.expect(laterFolders);
    int32_t count = 0;
    for (FolderEntry& entry : entries) {
        if (entry.kind == EntryKind::Folder) count += addTree(entry.path, prefetcher);
        else if (entry.kind == EntryKind::File) count += addInputFileOfSize(std::move(entry.path), entry.size) ? 1 : 0;
    }
    return count;
}

}  // namespace

int32_t scanFolderTree(const std::string& folder) {
    FolderPrefetcher prefetcher;
    return addTree(withTrailingSeparator(folder), prefetcher);
}

void scanInputFolder() {
    const std::string root = withTrailingSeparator(conversionJob().inputRoot);
    std::vector<FolderEntry> entries;
    int32_t count = 0;
    if (!root.empty() && listFolder(root, entries)) {
        FolderPrefetcher prefetcher;
        std::vector<const std::string*> folders;
        for (const FolderEntry& entry : entries)
            if (entry.kind == EntryKind::Folder) folders.push_back(&entry.path);
        prefetcher.expect(folders);
        for (FolderEntry& entry : entries) {
            if (!mayGoOn()) break;
            countProgress();
            if (entry.kind == EntryKind::Folder) count += addTree(entry.path, prefetcher);
            else if (entry.kind == EntryKind::File)
                count += addInputFileOfSize(std::move(entry.path), entry.size) ? 1 : 0;
        }
    }
    addToResult(count);
}

namespace {

// Reads a list file as UTF-8 lines. A byte-order mark picks the encoding:
// UTF-16 and UTF-32 text is turned into UTF-8, so a list saved by an editor
// in any of them names the same paths. Lines longer than any path can be are
// dropped without being held in memory.
class ListFileReader {
public:
    static constexpr size_t kMaxLine = 16384;

    explicit ListFileReader(std::FILE* file) : file_(file) {}

    // Next line, without its line ending; false at the end of the file.
    // A dropped (overlong) line comes back empty.
    bool nextLine(std::string& line) {
        line.clear();
        bool overlong = false;
        bool any = false;
        for (;;) {
            if (pos_ == text_.size() && !refill()) {
                if (overlong) line.clear();
                return any;
            }
            any = true;
            const size_t nl = text_.find('\n', pos_);
            const size_t end = nl == std::string::npos ? text_.size() : nl;
            if (!overlong) {
                line.append(text_, pos_, end - pos_);
                if (line.size() > kMaxLine) {
                    overlong = true;
                    line.clear();
                }
            }
            pos_ = nl == std::string::npos ? text_.size() : nl + 1;
            if (nl != std::string::npos) {
                if (overlong) line.clear();
                return true;
            }
        }
    }

private:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

    bool refill() {
        text_.clear();
        pos_ = 0;
        unsigned char buffer[65536];
        const size_t n = std::fread(buffer, 1, sizeof buffer, file_);
        if (n == 0) return false;
        raw_.append(reinterpret_cast<const char*>(buffer), n);
        if (first_) {
            // Wait for enough bytes to tell the marks apart (or the end of file).
            if (raw_.size() < 4 && !std::feof(file_) && !std::ferror(file_)) return refill();
            first_ = false;
            detectMark();
        }
        decode();
        return true;
    }

    void detectMark() {
        const auto starts = [this](std::string_view mark) { return raw_.compare(0, mark.size(), mark) == 0; };
        using namespace std::string_view_literals;
        struct Mark {
            std::string_view bytes;
            Encoding encoding;
        };
        // UTF-32 LE before UTF-16 LE: its mark begins with the same two bytes.
        static const Mark marks[] = {{"\xFF\xFE\x00\x00"sv, Encoding::Utf32LE},
                                     {"\x00\x00\xFE\xFF"sv, Encoding::Utf32BE},
                                     {"\xEF\xBB\xBF"sv, Encoding::Utf8},
                                     {"\xFF\xFE"sv, Encoding::Utf16LE},
                                     {"\xFE\xFF"sv, Encoding::Utf16BE}};
        for (const Mark& m : marks)
            if (starts(m.bytes)) {
                encoding_ = m.encoding;
                raw_.erase(0, m.bytes.size());
                return;
            }
    }

    static void appendUtf8(std::string& out, uint32_t cp) {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    // Moves the complete code units of raw_ into text_ as UTF-8.
    void decode() {
        if (encoding_ == Encoding::Utf8) {
            text_.swap(raw_);
            raw_.clear();
            return;
        }
        const auto byte = [this](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(raw_[i])); };
        const bool wide = encoding_ == Encoding::Utf32LE || encoding_ == Encoding::Utf32BE;
        const bool little = encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf32LE;
        const size_t unit = wide ? 4 : 2;
        const auto unitAt = [&](size_t i) -> uint32_t {
            uint32_t v = 0;
            for (size_t k = 0; k < unit; ++k) v |= byte(i + k) << (8 * (little ? k : unit - 1 - k));
            return v;
        };
        size_t i = 0;
        while (i + unit <= raw_.size()) {
            uint32_t cp = unitAt(i);
            size_t used = unit;
            if (!wide && cp >= 0xD800 && cp <= 0xDBFF) {
                if (i + 2 * unit > raw_.size()) break;  // the low half is still to come
                const uint32_t low = unitAt(i + unit);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    used = 2 * unit;
                }
            }
            appendUtf8(text_, cp);
            i += used;
        }
        raw_.erase(0, i);
    }

    std::FILE* file_;
    std::string raw_;
    std::string text_;
    size_t pos_ = 0;
    bool first_ = true;
    Encoding encoding_ = Encoding::Utf8;
};

std::string trimmed(const std::string& text) {
    static constexpr const char* kBlanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

void importListFile() {
    int32_t count = 0;
    std::FILE* file = std::fopen(conversionJob().inputPath.c_str(), "rb");
    if (file) {
        ListFileReader reader(file);
        std::string line;
        while (mayGoOn() && reader.nextLine(line)) {
            const std::string path = trimmed(line);
            // A NUL cannot be part of a path: such a line (a binary file)
            // would otherwise name whatever precedes the NUL.
            if (path.empty() || path.find('\0') != std::string::npos) continue;
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0) continue;
            countProgress();
            if (S_ISDIR(st.st_mode)) count += scanFolderTree(withTrailingSeparator(path));
            else if (addInputFile(path)) ++count;
        }
        std::fclose(file);
    }
    addToResult(count);
}

void makeOutputSubfolders() { makeOutputSubfoldersFor(conversionJob()); }

void makeOutputSubfoldersFor(const ConversionJob& job) {
    const std::string target = job.outputFolder + job.relativeFolder;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
    std::string folder = job.outputFolder;
    size_t start = 0;
    for (size_t sep; (sep = job.relativeFolder.find(kPathSeparator, start)) != std::string::npos; start = sep + 1) {
        folder.append(job.relativeFolder, start, sep - start);
        folder.push_back(kPathSeparator);
        if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) ::mkdir(folder.c_str(), 0777);
    }
}

namespace {

// Sets the last-write time of a file to whole seconds (the access time stays).
void setLastWriteTime(const std::string& path, std::time_t seconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

void stampOutputDate(const ConversionJob& job, const ConversionSettings& settings) {
    if (settings.fileTimestamp == 1) {
        struct stat st {};
        if (::stat(job.inputPath.c_str(), &st) == 0) setLastWriteTime(job.outputPath, st.st_mtime);
    } else if (settings.fileTimestamp == 2) {
        setLastWriteTime(job.outputPath, systemTimeFromLocalDateValue(settings.customTimestamp));
    }
}

bool convertEntry(ConversionJob& job, const ConversionSettings& settings, bool debug, const LinePrinter& print,
                  int64_t& millis) {
    if (settings.keepSubfolders == 1) makeOutputSubfoldersFor(job);
    if (debug) {
        print("Processing: " + job.inputPath);
        print("File Format: " + detectFileFormat(job.inputPath));
    }
    const auto started = std::chrono::steady_clock::now();
    const bool converted = convertFile(job, settings);
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    millis = std::max<int64_t>(took.count(), 1000);
    return converted;
}

void printOutcome(bool converted, const ConversionJob& job, bool debug, const LinePrinter& print) {
    if (!debug) return;
    print(converted ? "[OK] Saving As: " + job.outputPath : std::string("[ERROR] Unable to convert the file!"));
}

void runConversionWorker() {
    ConversionJob& job = conversionJob();
    const ConversionSettings& settings = conversionSettings();
    const bool debug = job.consoleRun == 1 && job.runMode == "DEBUG";
    const std::vector<const InputFileEntry*> entries = inputFileList().entries();
    const int threads = conversionThreadCount();
    if (threads > 1 && entries.size() > 1 && !outputsDependOnFileOrder(settings)) {
        runParallelConversion(entries, std::min<size_t>(static_cast<size_t>(threads), entries.size()), debug);
        return;
    }

    const LinePrinter print = [](const std::string& line) { printLine(line); };
    int32_t index = 0;
    int32_t converted = 0;
    int64_t previous = 0;
    for (const InputFileEntry* entry : entries) {
        if (!mayGoOn()) break;
        job.inputPath = entry->path;
        job.relativeFolder = entry->relativeFolder;
        {
            std::lock_guard<std::mutex> guard(progressLock());
            WorkerProgress& p = workerProgress();
            p.progressIndex = ++index;
            p.progressFile = job.inputPath;
            p.lastFileMillis = previous;
        }
        int64_t millis = 0;
        const bool ok = convertEntry(job, settings, debug, print, millis);
        printOutcome(ok, job, debug, print);
        if (!ok) {
            previous = 0;
            continue;
        }
        previous = millis;
        job.randomNumber = drawRandomNumber();
        ++job.fileCounter;
        stampOutputDate(job, settings);
        ++converted;
    }

    std::lock_guard<std::mutex> guard(progressLock());
    workerProgress().resultCount = converted;
}

}  // namespace pixalto
