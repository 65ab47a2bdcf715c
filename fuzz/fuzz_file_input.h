#pragma once
// The readers that take a path get the fuzz input through one file of the
// target's own, in memory-backed /dev/shm when there is one.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace pixalto::fuzz {

inline const std::string& inputFilePath() {
    static const std::string path = [] {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", ec)
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        return (folder / ("pixalto-fuzz-input-" + std::to_string(getpid()) + ".ini")).string();
    }();
    static const bool removedAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
    (void)removedAtExit;
    return path;
}

// Writes the input to the file; false when it cannot be written.
inline bool writeInputFile(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(inputFilePath().c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace pixalto::fuzz
