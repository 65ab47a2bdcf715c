// The program as a user starts it: help and version requests, option errors,
// quiet and pause, the single-instance guard, and the exit code 0 everywhere.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/command_line.h"
#include "platform/instance_guard.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

using test::runPixalto;

const char* const kNoDesktop = "This build of Pixalto has no desktop interface.\n";

std::string lines(std::initializer_list<const char*> items) {
    std::string out;
    for (const char* item : items) out += std::string(item) + "\n";
    return out;
}

const std::string kBanner = lines({"Pixalto 2.9", "Copyright (c) 2026 Corvane. All rights reserved.",
                                   "https://www.corvane.example/", " "});

TEST(FrontEndTest, HelpPrintsTheUsageText) {
    const std::string expected = lines({
        " ",
        "Usage: pixalto -i <filename> [options]",
        " ",
        "  pixalto -i example.pcx",
        "  pixalto -i /tmp/example.pcx",
        "  pixalto -i /tmp/example.pcx -o ~/converted",
        "  pixalto -i /tmp/filelist.txt",
        "  pixalto -i /tmp/ -o ~/converted --jpg-quality=95",
        "  pixalto -i /tmp/ -o ~/converted -c bmp --jpg-quality=95",
        " ",
        "Options:",
        " ",
        "  -h, -?, --help            Display this help and exit",
        "  -i FILE, --input=FILE     Set input file/list/folder",
        "  -o PATH, --output=PATH    Set output folder",
        "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
        " ",
        "Advanced options:",
        " ",
        "  --width=NUM               Set output image width",
        "  --height=NUM              Set output image height",
        "  --filename-mask=STR       Define output filename format",
        "  --flip-horizontal         Flip output image horizontally",
        "  --flip-vertical           Flip output image vertically",
        "  --brightness=NUM          Set output image brightness, NUM = -100..100",
        "  --contrast=NUM            Set output image contrast, NUM = -100..100",
        "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
        "  --invert                  Invert output image",
        "  --greyscale               Greyscale output image",
        "  --profile=FILE            Set configuration file with required settings",
        "    ...                     Refer documentation for all available options",
        " ",
        "Other options:",
        " ",
        "  -q, --quiet               Don't print status messages to stdout",
        "  -d, --debug               Print debug information to stdout",
        "  -p, --pause               Pause at exit",
        "  -v, --version             Display version information and exit",
    });
    for (const char* request : {"--help", "-h", "-H", "-?", "--HELP=please"}) {
        const auto r = runPixalto({request, "-i", "a.pcx"});
        EXPECT_EQ(r.out, expected) << request;
        EXPECT_EQ(r.err, "") << request;
        EXPECT_EQ(r.exitCode, 0) << request;
    }
}

TEST(FrontEndTest, VersionIsRecognisedOnlyAsTheFirstParameter) {
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string err;
    } cases[] = {
        {{"-v"}, "2.9\n", ""},
        {{"--version"}, "2.9\n", ""},
        {{"--VERSION=1"}, "2.9\n", ""},
        {{" -V ", "-i", "a.pcx"}, "2.9\n", ""},
        {{"-V=1"}, "", kNoDesktop},       // an unrecognised key; no input: the desktop would start
        {{"x", "-v"}, "", kNoDesktop},
        {{}, "", kNoDesktop},
        {{"--jpg-quality=90"}, "", kNoDesktop},
        {{"-U"}, "", ""},
        {{"-T", "/tmp"}, "", ""},
    };
    for (const auto& c : cases) {
        const auto r = runPixalto(c.args);
        const std::string label = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(r.out, c.out) << label;
        EXPECT_EQ(r.err, c.err) << label;
        EXPECT_EQ(r.exitCode, 0) << label;
    }
}

TEST(FrontEndTest, OptionErrorsPrintOneLineAndNoBanner) {
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {{"-i", "-o"}, "Error: Incorrect number of parameters\n"},
        {{"-i"}, "Error: Incorrect number of parameters\n"},
        {{"--input=-x.pcx"}, "Error: Incorrect number of parameters\n"},
        {{"--jpg-quality", "-i", "a.pcx"}, "Error: Incorrect number of parameters\n"},
        {{"-q", "--jpg-quality", "-i", "a.pcx"}, "Error: Incorrect number of parameters\n"},
        {{"--profile=nofile.ini", "-i", "a.pcx"}, "Error: Invalid profile file\n"},
        {{"-q", "--profile=nofile.ini", "-i", "a.pcx"}, "Error: Invalid profile file\n"},
        {{"--width=99999999999999999999", "--gamma=x", "--wm-text=\"open", "--jpg-quality"}, ""},
    };
    for (const auto& c : cases) {
        const auto r = runPixalto(c.args);
        EXPECT_EQ(r.out, c.out) << c.args.front();
        EXPECT_EQ(r.exitCode, 0) << c.args.front();
    }
}

TEST(FrontEndTest, PauseWaitsAfterAnErrorWithoutAPromptAndNeverHangsOnClosedInput) {
    for (const char* input : {"", "k"}) {
        test::RunOptions opts;
        opts.stdinText = input;
        opts.timeoutSeconds = 30;
        const auto r = runPixalto({"-p", "-i"}, opts);
        EXPECT_EQ(r.out, "Error: Incorrect number of parameters\n");
        EXPECT_EQ(r.exitCode, 0);
    }
}

TEST(FrontEndTest, AConsoleRunPrintsTheBannerUnlessQuietAndPromptsWhenPausing) {
    test::TempDir dir;
    const std::string input = (dir / "missing.pcx").string();

    auto r = runPixalto({"-i", input});
    EXPECT_EQ(r.out.substr(0, kBanner.size()), kBanner);
    EXPECT_EQ(r.out.find("Press any key to exit."), std::string::npos);
    EXPECT_EQ(r.exitCode, 0);

    r = runPixalto({"-q", "-i", input});
    EXPECT_EQ(r.out.find("Pixalto 2.9"), std::string::npos);
    EXPECT_EQ(r.exitCode, 0);

    test::RunOptions opts;
    opts.timeoutSeconds = 30;  // stdin is closed: end of input counts as the key
    r = runPixalto({"-i", input, "--pause"}, opts);
    EXPECT_EQ(r.out.substr(0, kBanner.size()), kBanner);
    ASSERT_GE(r.out.size(), 23u);
    EXPECT_EQ(r.out.substr(r.out.size() - 23), "Press any key to exit.\n");
    EXPECT_EQ(r.exitCode, 0);

    // Output that is not a terminal never carries the title escape.
    EXPECT_EQ(r.out.find('\x1B'), std::string::npos);
}

TEST(FrontEndTest, ASecondInstanceEndsSilently) {
    test::TempDir runtime;
    const std::string lockPath = (runtime / "Pixalto 2.9.lock").string();
    test::RunOptions opts;
    opts.env["XDG_RUNTIME_DIR"] = runtime.str();

    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    auto r = runPixalto({"-i", "a.pcx"}, opts);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exitCode, 0);
    r = runPixalto({"--version"}, opts);
    EXPECT_EQ(r.out, "");

    ::close(fd);  // released: the next start runs normally
    r = runPixalto({"--version"}, opts);
    EXPECT_EQ(r.out, "2.9\n");
    EXPECT_EQ(r.exitCode, 0);
}

TEST(FrontEndTest, AMissingRuntimeFolderDoesNotSilenceTheProgram) {
    test::TempDir runtime;
    test::RunOptions opts;
    opts.env["XDG_RUNTIME_DIR"] = (runtime / "no-such-folder").string();
    const auto r = runPixalto({"--version"}, opts);
    EXPECT_EQ(r.out, "2.9\n");
    EXPECT_EQ(r.exitCode, 0);
}

TEST(FrontEndTest, AReaderThatGoesAwayDoesNotKillTheProgram) {
    test::TempDir runtime;
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    ::close(out[0]);  // nobody reads: every write fails with a broken pipe
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::signal(SIGPIPE, SIG_DFL);  // as a shell starts it
        ::setenv("XDG_RUNTIME_DIR", runtime.str().c_str(), 1);
        ::execl(PIXALTO_BINARY, PIXALTO_BINARY, "--help", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

TEST(InstanceGuardTest, LockFileLivesInTheRuntimeFolderOrInTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(instanceLockPath("Pixalto 2.9"), "/run/user/1234/Pixalto 2.9.lock");
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(instanceLockPath("Pixalto 2.9"), "/tmp/Pixalto 2.9-" + std::to_string(::getuid()) + ".lock");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(instanceLockPath("Pixalto 2.9"), "/tmp/Pixalto 2.9-" + std::to_string(::getuid()) + ".lock");
    if (saved) ::setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
}

TEST(InstanceGuardTest, OnlyOneHolderAtATime) {
    test::TempDir runtime;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.str().c_str(), 1);
    const std::string path = instanceLockPath("Guard Test");
    ASSERT_TRUE(acquireInstanceGuard("Guard Test"));
    // Another open file description of the same file cannot take it.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
    if (saved) ::setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(VersionTextTest, FormatsTheProgramVersion) {
    EXPECT_EQ(formatVersion(290), "2.9");
    EXPECT_EQ(formatVersion(291), "2.9.1");
    EXPECT_EQ(formatVersion(300), "3.0");
    EXPECT_EQ(productTitle(), "Pixalto 2.9");
    EXPECT_NO_THROW(formatVersion(5));
    EXPECT_NO_THROW(formatVersion(0));
}

}  // namespace
}  // namespace pixalto
