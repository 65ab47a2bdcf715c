#include "platform/locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/paths.h"

namespace pixalto {

namespace {

constexpr const char* kMakerFolder = "Corvane";
constexpr const char* kProductFolder = "pixalto";
constexpr const char* kSettingsFileName = "config.ini";

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && isAbsolutePath(home)) return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && isAbsolutePath(found->pw_dir))
        return found->pw_dir;
    return {};
}

// A folder that cannot be made shows up later, when the file in it cannot be
// opened; that is reported there.
void makeFolder(const std::string& folder) { (void)::mkdir(folder.c_str(), 0700); }

}  // namespace

std::string applicationDataFolder() {
    // Relative values are invalid by the XDG rules and are ignored.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && isAbsolutePath(configHome)) return withTrailingSeparator(configHome);
    const std::string home = homeFolder();
    if (home.empty()) return {};
    return joinPath(home, ".config/");
}

std::string productDataFolder() {
    std::string folder = applicationDataFolder();
    if (folder.empty()) folder = std::string(1, kPathSeparator);
    makeFolder(folder);
    folder = joinPath(folder, kMakerFolder);
    makeFolder(folder);
    folder = withTrailingSeparator(joinPath(folder, kProductFolder));
    makeFolder(folder);
    return folder;
}

std::string settingsFilePath() { return productDataFolder() + kSettingsFileName; }

}  // namespace pixalto
