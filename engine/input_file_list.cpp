#include "engine/input_file_list.h"

#include <algorithm>
#include <mutex>
#include <random>

#include "core/format_catalogue.h"
#include "core/run_state.h"
#include "engine/worker_internal.h"
#include "platform/paths.h"

namespace pixalto {

namespace {

std::function<void(const std::string&)>& fileAddedHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::vector<std::string>& acceptedExtensions() {
    static std::vector<std::string> extensions;
    return extensions;
}

}  // namespace

// An entry is live while the index still points at its position; removed
// entries stay in place (keeping the order of the others) until enough of
// them have piled up to be worth compacting.
InputFileEntry& InputFileList::lookup(const std::string& path) {
    const auto found = index_.find(path);
    if (found != index_.end()) return entries_[found->second];
    return lookup(std::string(path));
}

InputFileEntry& InputFileList::lookup(std::string&& path) {
    const auto found = index_.find(path);
    if (found != index_.end()) return entries_[found->second];
    if (removed_ > 64 && removed_ > entries_.size() / 2) compact();
    entries_.push_back(InputFileEntry{std::move(path), {}, 0});
    index_.emplace(entries_.back().path, entries_.size() - 1);
    return entries_.back();
}

void InputFileList::compact() {
    std::deque<InputFileEntry> live;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const auto it = index_.find(entries_[i].path);
        if (it != index_.end() && it->second == i) live.push_back(std::move(entries_[i]));
    }
    index_.clear();
    entries_ = std::move(live);
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].path, i);
    removed_ = 0;
}

bool InputFileList::contains(const std::string& path) const { return index_.count(path) != 0; }

bool InputFileList::remove(const std::string& path) {
    if (index_.erase(path) == 0) return false;
    ++removed_;
    return true;
}

void InputFileList::clear() {
    entries_.clear();
    index_.clear();
    removed_ = 0;
}

size_t InputFileList::size() const { return index_.size(); }

std::vector<const InputFileEntry*> InputFileList::entries() const {
    std::vector<const InputFileEntry*> out;
    out.reserve(index_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        const auto it = index_.find(entries_[i].path);
        if (it != index_.end() && it->second == i) out.push_back(&entries_[i]);
    }
    return out;
}

InputFileList& inputFileList() {
    static InputFileList list;
    return list;
}

void setFileAddedHook(std::function<void(const std::string& path)> hook) { fileAddedHook() = std::move(hook); }

void rebuildAcceptedExtensions() { acceptedExtensions() = acceptedInputExtensions(); }

namespace {

// The text after the last ".", when no blank, "/" or "\\" follows it and it
// is neither the first character nor right after a folder separator.
std::string_view extensionView(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || path[dot - 1] == '/' || path[dot - 1] == '\\') return {};
    const std::string_view ext = path.substr(dot + 1);
    return ext.find_first_of(" /\\") == std::string_view::npos ? ext : std::string_view();
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string fileExtensionOf(std::string_view path) {
    std::string ext(extensionView(path));
    for (char& c : ext) c = asciiLower(c);
    return ext;
}

std::string relativeFolderOf(std::string_view filePath, std::string_view rootFolder) {
    if (filePath.empty() || rootFolder.empty()) return {};
    const std::string folder = folderPart(filePath);
    // Only a root that the file's folder begins with gives a subfolder: taking
    // the root's text out of the middle of a path would name some other folder.
    if (folder.size() < rootFolder.size() || folder.compare(0, rootFolder.size(), rootFolder) != 0) return {};
    return folder.substr(rootFolder.size());
}

bool hasAcceptedExtension(std::string_view path) {
    if (acceptedExtensions().empty()) rebuildAcceptedExtensions();
    const std::string_view ext = extensionView(path);
    if (ext.empty()) return false;
    const auto sameIgnoringAsciiCase = [ext](const std::string& accepted) {
        if (accepted.size() != ext.size()) return false;
        for (size_t i = 0; i < ext.size(); ++i)
            if (asciiLower(ext[i]) != accepted[i]) return false;
        return true;
    };
    const auto& accepted = acceptedExtensions();
    return std::any_of(accepted.begin(), accepted.end(), sameIgnoringAsciiCase);
}

// The name is checked first: it costs no file-system call, and most files
// of a mixed folder fail it.
bool addInputFile(const std::string& path) {
    return hasAcceptedExtension(path) && addInputFileOfSize(path, fileSizeOf(path));
}

bool addInputFileOfSize(std::string path, int64_t size) {
    if (size == 0) return false;
    InputFileEntry& entry = inputFileList().lookup(std::move(path));
    if (entry.added == 1) return false;
    entry.relativeFolder = relativeFolderOf(entry.path, conversionJob().inputRoot);
    entry.added = 1;

    if (conversionJob().consoleRun == 0 && fileAddedHook()) fileAddedHook()(entry.path);
    return true;
}

int32_t drawRandomNumber() {
    static std::mutex lock;
    static std::mt19937 engine{std::random_device{}()};
    std::lock_guard<std::mutex> guard(lock);
    return std::uniform_int_distribution<int32_t>(1, 99999)(engine);
}

void resetConversionJob() {
    ConversionJob& job = conversionJob();
    job.programFolder = programFolder();
    job.projectName = "untitled.pxq";
    job.consoleRun = 0;
    job.randomNumber = drawRandomNumber();
    job.fileCounter = 1;
    job.runInputFormat.clear();
    job.inputPath.clear();
    job.inputRoot.clear();
    job.relativeFolder.clear();
    job.outputPath.clear();
    job.tempPath.clear();
    job.outputFolder.clear();
    job.outputExtension.clear();
    job.formatId = 0;
    job.targetBitDepth = 0;
    job.saveFlags = 0;
    job.autoBitDepth = 0;
    inputFileList().clear();
    rebuildAcceptedExtensions();
}

}  // namespace pixalto
