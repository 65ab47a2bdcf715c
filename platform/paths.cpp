#include "platform/paths.h"

#include <climits>
#include <unistd.h>

namespace pixalto {

bool isAbsolutePath(std::string_view path) { return !path.empty() && path.front() == kPathSeparator; }

std::string withTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != kPathSeparator) out.push_back(kPathSeparator);
    return out;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    std::string out = withTrailingSeparator(folder);
    while (!name.empty() && name.front() == kPathSeparator) name.remove_prefix(1);
    out.append(name);
    return out;
}

std::string folderPart(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string filePart(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string programFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    return folderPart(std::string_view(buffer, static_cast<size_t>(n)));
}

}  // namespace pixalto
