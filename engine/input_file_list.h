#pragma once
// The files queued for conversion, keyed by full path exactly as added and
// walked in the order in which they were added.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pixalto {

struct InputFileEntry {
    std::string path;
    std::string relativeFolder;  // subfolder below the input root, ending with "/", or ""
    int32_t added = 0;
};

class InputFileList {
public:
    // Entry for the path, created empty when missing.
    InputFileEntry& lookup(const std::string& path);
    InputFileEntry& lookup(std::string&& path);
    bool contains(const std::string& path) const;
    bool remove(const std::string& path);
    void clear();
    size_t size() const;
    // Entries in the order they were added (removed entries skipped).
    std::vector<const InputFileEntry*> entries() const;

private:
    void compact();

    // A deque keeps every entry at its place, so the index can key on views
    // of the entries' own paths.
    std::deque<InputFileEntry> entries_;
    std::unordered_map<std::string_view, size_t> index_;
    size_t removed_ = 0;
};

InputFileList& inputFileList();

// The desktop sets this to show each newly added file; the console leaves it empty.
void setFileAddedHook(std::function<void(const std::string& path)> hook);

// The one add-file rule. True when the path was added.
bool addInputFile(const std::string& path);

// Subfolder of a file below a root folder ("" when either is empty or the
// root does not occur in the file's folder).
std::string relativeFolderOf(std::string_view filePath, std::string_view rootFolder);

// Lower-case extension of a path, or "" when it has none.
std::string fileExtensionOf(std::string_view path);

// Clears the run fields of the ConversionJob and empties the InputFileList.
void resetConversionJob();

}  // namespace pixalto
