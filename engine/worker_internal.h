#pragma once
// Helpers shared by the input list and the jobs, not part of their interface.
#include <cstdint>
#include <string>

namespace pixalto {

// A random number from 1 to 99999, both ends included.
int32_t drawRandomNumber();

// Rebuilds the extensions that the add-file rule accepts from the enabled input kinds.
void rebuildAcceptedExtensions();

// Size of a file: -1 when the path does not exist, -2 for a folder.
int64_t fileSizeOf(const std::string& path);

}  // namespace pixalto
