#pragma once
// The desktop's list of recently used output folders: newest first, separated
// by one tab, never an empty entry, at most outFoldersNumber entries. Two
// folders are the same when the CRC-32 of their upper-cased UTF-8 text is equal.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pixalto {

inline constexpr char kRecentFolderSeparator = '\t';

// Identity of a folder in the recent list.
uint32_t recentFolderIdentity(std::string_view folder);

// Puts the folder in front of the list, drops its other spellings and keeps at
// most outFoldersNumber entries. An empty folder, or one holding a tab or a
// line break (which the list cannot hold), is not stored: false.
bool pushRecentFolder(std::string& recentOutFolders, int outFoldersNumber, std::string_view folder);
// The same on the process's settings.
bool pushRecentFolder(std::string_view folder);

// The entries of the output folder list and the one to select.
struct OutputFolderChoice {
    std::vector<std::string> entries;
    int selected = -1;  // index into entries, -1 when there are none
};

// Entries of the output folder list for the recent folders, and the entry of
// outputFolder selected (the first when it is not listed). Nothing changes
// (changed false) when the recent list is empty.
struct OutputFolderRefill {
    bool changed = false;
    OutputFolderChoice choice;
};
OutputFolderRefill refillOutputFolders(std::string_view recentOutFolders, int outFoldersNumber,
                                       std::string_view outputFolder);

// Before the settings are written at exit: without the history the recent
// folders are forgotten.
void forgetRecentFoldersWithoutHistory();

}  // namespace pixalto
