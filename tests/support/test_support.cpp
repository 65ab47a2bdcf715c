#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace pixalto::test {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        path_ = fs::temp_directory_path() / ("pixalto-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(path_, ec)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // Folders made read-only by a test must become writable to be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string sharedFixtures() {
    const char* dir = PIXALTO_SHARED_FIXTURES;
    std::error_code ec;
    return fs::is_directory(dir, ec) ? std::string(dir) : std::string();
}

RunResult runPixalto(const std::vector<std::string>& args, const RunOptions& opts) {
    TempDir runtimeDir;
    TempDir configDir;
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) return {};

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_RUNTIME_DIR=", 0) == 0 || entry.rfind("XDG_CONFIG_HOME=", 0) == 0) continue;
        bool overridden = false;
        for (const auto& [k, v] : opts.env)
            if (entry.rfind(k + "=", 0) == 0) overridden = true;
        if (!overridden) env.push_back(entry);
    }
    if (!opts.env.count("XDG_RUNTIME_DIR")) env.push_back("XDG_RUNTIME_DIR=" + runtimeDir.str());
    if (!opts.env.count("XDG_CONFIG_HOME")) env.push_back("XDG_CONFIG_HOME=" + configDir.str());
    for (const auto& [k, v] : opts.env) env.push_back(k + "=" + v);

    const std::string binary = opts.binary.empty() ? std::string(PIXALTO_BINARY) : opts.binary;
    std::vector<std::string> argvStore = {binary};
    argvStore.insert(argvStore.end(), args.begin(), args.end());

    const pid_t pid = fork();
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
        if (!opts.workingDir.empty() && chdir(opts.workingDir.c_str()) != 0) _exit(127);
        std::vector<char*> argv, envp;
        for (auto& a : argvStore) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    signal(SIGPIPE, SIG_IGN);
    if (!opts.stdinText.empty()) {
        ssize_t ignored = write(inPipe[1], opts.stdinText.data(), opts.stdinText.size());
        (void)ignored;
    }
    close(inPipe[1]);

    RunResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(opts.timeoutSeconds);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    bool killed = false;
    while (open > 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (poll(fds, 2, 100) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[65536];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                (i == 0 ? result.out : result.err).append(buf, static_cast<size_t>(n));
            }
        }
    }
    for (auto& f : fds)
        if (f.fd >= 0) close(f.fd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (killed) ADD_FAILURE() << "pixalto did not end within " << opts.timeoutSeconds << " s";
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace pixalto::test
