#pragma once
// Helpers shared by the test programs: temporary folders, running the built
// program with private XDG folders, and the optional shared PCX fixtures.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pixalto::test {

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct RunResult {
    int exitCode = -1;       // exit status, or 128 + signal number
    std::string out;         // everything printed on stdout
    std::string err;         // everything printed on stderr
};

struct RunOptions {
    std::string stdinText;                      // fed to the program, then closed
    std::map<std::string, std::string> env;     // extra environment variables
    std::string workingDir;                     // "" keeps the current one
    int timeoutSeconds = 120;                   // killed after this long
    std::string binary;                         // "" runs the built pixalto
};

// Runs the program with its own XDG_RUNTIME_DIR and XDG_CONFIG_HOME (fresh
// folders unless opts.env names them) and collects its output.
RunResult runPixalto(const std::vector<std::string>& args, const RunOptions& opts = {});

// Folder of the shared PCX fixtures, or "" when it is not there.
std::string sharedFixtures();

std::string readFile(const std::filesystem::path& p);
void writeFile(const std::filesystem::path& p, const std::string& bytes);

}  // namespace pixalto::test

// Skips the current test when the shared fixtures are absent.
#define PIXALTO_REQUIRE_SHARED_FIXTURES()                                        \
    do {                                                                         \
        if (::pixalto::test::sharedFixtures().empty())                           \
            GTEST_SKIP() << "shared PCX fixtures are not present";               \
    } while (0)
