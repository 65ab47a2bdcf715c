// The progress line on a terminal: its text, and that it appears only on a
// terminal stderr, is erased at the end and leaves the printed lines alone.
#include "cli/console_progress.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace pixalto {
namespace {

TEST(ConsoleProgressTest, LineShowsCountFileAndTimeLeft) {
    EXPECT_EQ(progressLineText(1, 4, "/pics/a/photo.pcx", 0, 80), "[1/4] photo.pcx  --:--:-- left");
    // Two files done in 2 s: two more take about 2 s.
    EXPECT_EQ(progressLineText(3, 4, "/pics/b.pcx", 2000, 80), "[3/4] b.pcx  00:00:02 left");
    const std::string longName(200, 'x');
    for (int columns : {10, 30, 80}) {
        const std::string text = progressLineText(12, 100, "/p/" + longName + ".pcx", 5000, columns);
        EXPECT_LT(static_cast<int>(text.size()), columns) << text;
        EXPECT_EQ(text.rfind("[12/100]", 0), 0u) << text;
    }
}

struct SplitRun {
    std::string out;
    std::string terminal;
};

// Runs the program with stdout on a pipe and stderr on a terminal.
SplitRun runWithTerminalStderr(const std::vector<std::string>& args) {
    SplitRun result;
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return result;
    int outPipe[2];
    if (::pipe(outPipe) != 0) return result;
    test::TempDir runtime, config;
    const std::string runtimeEnv = "XDG_RUNTIME_DIR=" + runtime.str();
    const std::string configEnv = "XDG_CONFIG_HOME=" + config.str();
    std::vector<std::string> argvStore = {PIXALTO_BINARY};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_RDONLY);
        ::dup2(devnull, 0);
        ::dup2(outPipe[1], 1);
        ::dup2(slave, 2);
        ::close(outPipe[0]);
        ::close(master);
        ::putenv(const_cast<char*>(runtimeEnv.c_str()));
        ::putenv(const_cast<char*>(configEnv.c_str()));
        std::vector<char*> argv;
        for (auto& a : argvStore) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(slave);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {master, POLLIN, 0}};
    bool outOpen = true;
    while (outOpen) {
        if (::poll(fds, 2, 20000) <= 0) break;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) (i == 0 ? result.out : result.terminal).append(buf, static_cast<size_t>(n));
            else if (i == 0) outOpen = false;
            else fds[1].fd = -1;  // terminal side closed
        }
    }
    ::waitpid(pid, nullptr, 0);
    // Whatever the terminal still holds.
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) break;
        char buf[4096];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) break;
        result.terminal.append(buf, static_cast<size_t>(n));
    }
    ::close(outPipe[0]);
    ::close(master);
    return result;
}

TEST(ConsoleProgressTest, TerminalGetsTheLineAndStdoutStaysAsRedirected) {
    test::TempDir dir;
    fs::create_directories(dir / "in");
    fs::create_directories(dir / "out");
    for (const char* name : {"a", "b", "c"}) {
        const std::string command = "convert -size 40x30 xc:red '" + (dir / "in" / name).string() + ".pcx'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    const std::vector<std::string> args = {"-i", (dir / "in").string(), "-o", (dir / "out").string(), "-c", "png"};
    const SplitRun onTerminal = runWithTerminalStderr(args);
    const test::RunResult redirected = test::runPixalto(args);

    EXPECT_EQ(onTerminal.out, redirected.out);
    EXPECT_NE(onTerminal.out.find("Files converted: 3 of 3"), std::string::npos) << onTerminal.out;
    EXPECT_EQ(redirected.err, "");
    EXPECT_NE(onTerminal.terminal.find("/3] "), std::string::npos) << onTerminal.terminal;
    // The last thing drawn erases the line.
    const std::string erase = "\r\x1B[K";
    ASSERT_GE(onTerminal.terminal.size(), erase.size());
    EXPECT_EQ(onTerminal.terminal.substr(onTerminal.terminal.size() - erase.size()), erase);

    // Quiet and debug runs draw nothing.
    for (const char* flag : {"-q", "-d"}) {
        std::vector<std::string> more = args;
        more.push_back(flag);
        EXPECT_EQ(runWithTerminalStderr(more).terminal, "") << flag;
    }
}

}  // namespace
}  // namespace pixalto
