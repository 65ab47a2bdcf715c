// Conversion on several threads gives what one thread gives: the same output
// files byte for byte, the same printed lines and counts.
#include <cstdlib>
#include <filesystem>
#include <map>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "engine/worker_internal.h"
#include "tests/engine/support/engine_fixture.h"

namespace fs = std::filesystem;

namespace pixalto::test {
namespace {

class ParallelWorker : public EngineTest {
protected:
    void TearDown() override { ::unsetenv("PIXALTO_THREADS"); }

    struct Run {
        int32_t converted = 0;
        std::string printed;
        std::map<std::string, std::string> outputs;  // name below the output folder -> bytes
    };

    Run runWithThreads(const char* threads) {
        ::setenv("PIXALTO_THREADS", threads, 1);
        fs::remove_all(outputFolder_);
        fs::create_directories(outputFolder_);
        Run r;
        testing::internal::CaptureStdout();
        workerProgress().resultCount = 0;
        runJobAndWait(runConversionWorker);
        r.printed = testing::internal::GetCapturedStdout();
        r.converted = workerProgress().resultCount;
        for (const auto& e : fs::recursive_directory_iterator(outputFolder_))
            if (e.is_regular_file())
                r.outputs[fs::relative(e.path(), outputFolder_).string()] = readFile(e.path());
        return r;
    }

    void queueMixedFolder() {
        for (int i = 0; i < 12; ++i) {
            const int depth = (i % 3 == 0) ? 1 : (i % 3 == 1 ? 8 : 24);
            addInputFile(writeInput("f" + std::to_string(i) + ".pcx",
                                    encodePcx(pictureOfDepth(depth, 30 + i, 20 + i))));
        }
        addInputFile(writeInput("broken1.pcx", "not a picture at all"));
        addInputFile(writeInput("sub/broken2.pcx", std::string(300, '\x0A')));
        // Two files that end in one output name: the later one's picture wins.
        addInputFile(writeInput("a/same.pcx", encodePcx(pictureOfDepth(24, 10, 10))));
        addInputFile(writeInput("b/same.pcx", encodePcx(pictureOfDepth(8, 17, 13))));
    }
};

TEST_F(ParallelWorker, OutputsLinesAndCountsEqualThoseOfOneThread) {
    queueMixedFolder();
    conversionSettings().keepSubfolders = 0;
    conversionJob().runMode = "DEBUG";
    for (const char* format : {"png", "jpg", "psd"}) {
        chooseFormat(format);
        const Run one = runWithThreads("1");
        const Run many = runWithThreads("4");
        EXPECT_EQ(one.converted, 14) << format;
        EXPECT_EQ(many.converted, one.converted) << format;
        EXPECT_EQ(many.printed, one.printed) << format;
        EXPECT_EQ(many.outputs, one.outputs) << format;
        EXPECT_EQ(one.outputs.size(), 13u) << format;  // 12 pictures and one shared name
    }
    EXPECT_NE(runWithThreads("3").printed.find("[ERROR] Unable to convert the file!"), std::string::npos);
}

TEST_F(ParallelWorker, NamesThatCountFilesStayInFileOrder) {
    for (int i = 0; i < 8; ++i)
        addInputFile(writeInput("p" + std::to_string(i) + ".pcx", encodePcx(pictureOfDepth(24, 8, 8))));
    chooseFormat("png");
    conversionSettings().filenameMask = "%n%-%filename%.%ext%";
    EXPECT_TRUE(outputsDependOnFileOrder(conversionSettings()));
    conversionJob().fileCounter = 1;
    const Run r = runWithThreads("4");
    EXPECT_EQ(r.converted, 8);
    for (int i = 0; i < 8; ++i) {
        const std::string name = "0000" + std::to_string(i + 1) + "-p" + std::to_string(i) + ".png";
        EXPECT_TRUE(r.outputs.count(name)) << name;
    }
}

TEST_F(ParallelWorker, ThreadCountAndOrderDependence) {
    ::setenv("PIXALTO_THREADS", "3", 1);
    EXPECT_EQ(conversionThreadCount(), 3);
    for (const char* bad : {"0", "-2", "x", ""}) {
        ::setenv("PIXALTO_THREADS", bad, 1);
        EXPECT_GE(conversionThreadCount(), 1) << bad;
    }
    ConversionSettings s;
    EXPECT_FALSE(outputsDependOnFileOrder(s));
    s.filenameMask = "%RND%.%ext%";
    EXPECT_TRUE(outputsDependOnFileOrder(s));
    s.filenameMask = "%filename%.%ext%";
    s.wmText = "no. %n%";
    EXPECT_FALSE(outputsDependOnFileOrder(s));  // no text watermark drawn
    s.doWatermark = 1;
    EXPECT_TRUE(outputsDependOnFileOrder(s));
}

TEST_F(ParallelWorker, AStopBeforeTheFirstFileConvertsNothing) {
    for (int i = 0; i < 4; ++i)
        addInputFile(writeInput("s" + std::to_string(i) + ".pcx", encodePcx(pictureOfDepth(8, 8, 8))));
    chooseFormat("png");
    ::setenv("PIXALTO_THREADS", "2", 1);
    workerProgress().resultCount = 7;
    workerProgress().runFlag = 0;
    runConversionWorker();  // called directly: startJob would set the flag again
    EXPECT_EQ(workerProgress().resultCount, 0);
    EXPECT_TRUE(fs::is_empty(outputFolder_));
}

}  // namespace
}  // namespace pixalto::test
