#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/paths.h"

namespace pixalto {

int64_t fileSizeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    if (S_ISDIR(st.st_mode)) return -2;
    return static_cast<int64_t>(st.st_size);
}

bool readWholeFile(const std::string& path, std::string& out, uint64_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return false;
    }
    // Read straight into the result: one copy from the kernel, sized by the
    // file's length. A file that grows meanwhile is read on through a small
    // buffer, so the usual case never reallocates.
    std::string data(static_cast<size_t>(st.st_size), '\0');
    size_t filled = 0;
    char more[4096];
    for (;;) {
        const bool full = filled == data.size();
        const ssize_t n = full ? ::read(fd, more, sizeof more) : ::read(fd, data.data() + filled, data.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        if (full) {
            if (data.size() + static_cast<size_t>(n) > maxBytes) {
                ::close(fd);
                return false;
            }
            data.append(more, static_cast<size_t>(n));
        }
        filled += static_cast<size_t>(n);
    }
    data.resize(filled);
    ::close(fd);
    out = std::move(data);
    return true;
}

std::string createTempFileBeside(const std::string& finalPath) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = folderPart(finalPath);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".pixalto-%d-%u.tmp", static_cast<int>(getpid()), counter++);
        const std::string candidate = folder + name;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) return {};
    }
    return {};
}

bool commitTempFile(const std::string& tempPath, const std::string& finalPath) {
    if (::rename(tempPath.c_str(), finalPath.c_str()) == 0) return true;
    ::unlink(tempPath.c_str());
    return false;
}

bool writeFileAtomically(const std::string& finalPath, std::string_view bytes) {
    const std::string temp = createTempFileBeside(finalPath);
    if (temp.empty()) return false;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = fd >= 0;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    if (fd >= 0) {
        if (ok && ::fsync(fd) != 0) ok = false;
        if (::close(fd) != 0) ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    return commitTempFile(temp, finalPath);
}

}  // namespace pixalto
