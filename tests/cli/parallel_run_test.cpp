// A console run on several threads prints what a run on one thread prints and
// writes the same files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace pixalto {
namespace {

std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = test::readFile(e.path());
    return files;
}

TEST(ParallelRunTest, ThreadCountChangesNeitherLinesNorFiles) {
    test::TempDir dir;
    fs::create_directories(dir / "in" / "deeper");
    const char* pictures[] = {"40x30 xc:red", "33x17 gradient:blue-yellow", "64x48 plasma:fractal",
                              "20x20 xc:white", "50x10 gradient:", "17x33 xc:navy"};
    int n = 0;
    for (const char* p : pictures) {
        const fs::path out = dir / "in" / (n % 2 ? "deeper" : "") / ("p" + std::to_string(n) + ".pcx");
        const std::string command = std::string("convert -seed 1 -size ") + p + " '" + out.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        ++n;
    }
    test::writeFile(dir / "in" / "broken.pcx", "\x0A\x05\x01\x08 short");

    std::map<std::string, std::string> filesByThreads[2];
    std::string linesByThreads[2];
    const char* threadCounts[] = {"1", "2"};
    for (int i = 0; i < 2; ++i) {
        const fs::path out = dir / ("out" + std::to_string(i));
        fs::create_directories(out);
        test::RunOptions opts;
        opts.env["PIXALTO_THREADS"] = threadCounts[i];
        const auto r = test::runPixalto({"-i", (dir / "in").string(), "-o", out.string(), "-c", "jpg", "-d"}, opts);
        EXPECT_NE(r.out.find("Files converted: 6 of 7"), std::string::npos) << r.out;
        // The output folder differs between the runs; the lines must not otherwise.
        std::string lines = r.out;
        for (size_t at; (at = lines.find(out.string())) != std::string::npos;) lines.replace(at, out.string().size(), "OUT");
        linesByThreads[i] = lines;
        filesByThreads[i] = filesBelow(out);
    }
    EXPECT_EQ(linesByThreads[0], linesByThreads[1]);
    EXPECT_EQ(filesByThreads[0], filesByThreads[1]);
    EXPECT_EQ(filesByThreads[0].size(), 6u);
}

}  // namespace
}  // namespace pixalto
