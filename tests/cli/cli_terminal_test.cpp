// The console on a real terminal: the title escape, and a key read without
// echo after which the terminal is restored.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/test_support.h"

namespace pixalto {
namespace {

class TerminalRun {
public:
    explicit TerminalRun(const std::vector<std::string>& args) {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
        hasTerminal_ = true;
        const std::string runtime = "XDG_RUNTIME_DIR=" + runtimeDir_.str();
        const std::string config = "XDG_CONFIG_HOME=" + configDir_.str();
        std::vector<std::string> argvStore = {PIXALTO_BINARY};
        argvStore.insert(argvStore.end(), args.begin(), args.end());
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setsid();
            ::ioctl(slave_, TIOCSCTTY, 0);
            for (int fd = 0; fd < 3; ++fd) ::dup2(slave_, fd);
            ::close(master_);
            ::close(slave_);
            ::putenv(const_cast<char*>(runtime.c_str()));
            ::putenv(const_cast<char*>(config.c_str()));
            std::vector<char*> argv;
            for (auto& a : argvStore) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~TerminalRun() {
        if (pid_ > 0 && !finished_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    bool hasTerminal() const { return hasTerminal_; }
    bool started() const { return pid_ > 0; }

    // Reads what the program wrote until the text appears (or 20 s pass).
    bool readUntil(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (output.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char buf[4096];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) return false;
            output.append(buf, static_cast<size_t>(n));
        }
        return true;
    }
    termios modes() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }
    // Waits until the terminal's modes satisfy the test (or 20 s pass).
    template <typename Test>
    bool waitForModes(Test test) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!test(modes())) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    void type(const std::string& keys) const { (void)!::write(master_, keys.data(), keys.size()); }
    int finish() {
        int status = 0;
        // The program has nothing left to do once the key is read.
        for (int i = 0; i < 2000; ++i) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                finished_ = true;
                char buf[4096];
                pollfd p{master_, POLLIN, 0};
                while (::poll(&p, 1, 0) > 0) {
                    const ssize_t n = ::read(master_, buf, sizeof buf);
                    if (n <= 0) break;
                    output.append(buf, static_cast<size_t>(n));
                }
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    std::string output;

private:
    test::TempDir runtimeDir_;
    test::TempDir configDir_;
    int master_ = -1;
    int slave_ = -1;
    pid_t pid_ = -1;
    bool hasTerminal_ = false;
    bool finished_ = false;
};

bool rawMode(const termios& t) { return !(t.c_lflag & ICANON) && !(t.c_lflag & ECHO); }
bool cookedMode(const termios& t) { return (t.c_lflag & ICANON) && (t.c_lflag & ECHO); }

TEST(TerminalTest, PauseReadsOneUnechoedKeyAndRestoresTheTerminal) {
    TerminalRun run({"-p", "-i"});
    if (!run.hasTerminal()) GTEST_SKIP() << "no pseudo-terminal available";
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.readUntil("Error: Incorrect number of parameters"));
    EXPECT_EQ(run.output.find("\x1B]0;Pixalto 2.9\a"), 0u) << run.output;

    ASSERT_TRUE(run.waitForModes(rawMode)) << "the program never waited for a key";
    run.type("z");
    EXPECT_EQ(run.finish(), 0);
    EXPECT_TRUE(cookedMode(run.modes()));
    EXPECT_EQ(run.output.find('z'), std::string::npos) << "the key was echoed";
}

TEST(TerminalTest, VersionOnATerminalSetsTheTitle) {
    TerminalRun run({"--version"});
    if (!run.hasTerminal()) GTEST_SKIP() << "no pseudo-terminal available";
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.readUntil("2.9\r\n"));
    EXPECT_EQ(run.output, "\x1B]0;Pixalto 2.9\a" "2.9\r\n");
    EXPECT_EQ(run.finish(), 0);
}

}  // namespace
}  // namespace pixalto
