#include "platform/instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/paths.h"

namespace pixalto {

std::string instanceLockPath(const std::string& title) {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir) return joinPath(runtimeDir, title + ".lock");
    return "/tmp/" + title + "-" + std::to_string(static_cast<unsigned long>(::getuid())) + ".lock";
}

bool acquireInstanceGuard(const std::string& title) {
    static int heldFd = -1;
    if (heldFd >= 0) return true;
    const std::string path = instanceLockPath(title);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A lock file that cannot be made (no runtime folder, no permission)
    // guards nothing: run unguarded rather than end without a word.
    if (fd < 0) return true;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    heldFd = fd;  // never closed: the lock lasts until the process ends
    return true;
}

}  // namespace pixalto
