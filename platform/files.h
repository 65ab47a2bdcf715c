#pragma once
// Whole-file reading and atomic writing. Every output picture, list file and
// settings file goes to a temporary file in its destination folder and is
// renamed over the final name only when the write succeeded.
#include <cstdint>
#include <string>
#include <string_view>

namespace pixalto {

// Size of a file in bytes: -1 when the path does not exist, -2 for a folder.
int64_t fileSizeOf(const std::string& path);

// Reads a whole regular file. False when it cannot be opened or read, or is
// larger than maxBytes.
bool readWholeFile(const std::string& path, std::string& out, uint64_t maxBytes = UINT64_MAX);

// A temporary name in the folder of finalPath that no other file has.
// The name is ASCII; it is created empty (exclusively) so nobody else takes it.
// Returns "" when the folder cannot be written.
std::string createTempFileBeside(const std::string& finalPath);

// Renames tempPath over finalPath; on failure removes tempPath and gives false.
bool commitTempFile(const std::string& tempPath, const std::string& finalPath);

// Writes bytes to finalPath through a temporary file (fsync'd before the rename).
bool writeFileAtomically(const std::string& finalPath, std::string_view bytes);

}  // namespace pixalto
