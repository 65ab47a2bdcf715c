// The conversion worker over a whole list: subfolders, counters, progress,
// debug lines, file dates and stop requests.
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "platform/dates.h"
#include "tests/engine/support/engine_fixture.h"

namespace fs = std::filesystem;

namespace pixalto::test {
namespace {

class Worker : public EngineTest {
protected:
    std::string picture(const std::string& relative) {
        return writeInput(relative, encodePcx(pictureOfDepth(8, 24, 16)));
    }
    std::string broken(const std::string& relative) { return writeInput(relative, "not a picture"); }
    static int32_t run() {
        workerProgress().resultCount = 0;
        runJobAndWait(runConversionWorker);
        return workerProgress().resultCount;
    }
    static std::time_t modified(const std::string& path, long* nanoseconds = nullptr) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        if (nanoseconds) *nanoseconds = st.st_mtim.tv_nsec;
        return st.st_mtime;
    }
};

TEST_F(Worker, KeepsAThreeLevelTreeBelowTheOutputFolder) {
    picture("top.pcx");
    picture("a/one.pcx");
    picture("a/b/two.pcx");
    picture("a/b/c/three.pcx");
    conversionJob().inputRoot = inputFolder_;
    runJobAndWait(scanInputFolder);
    ASSERT_EQ(inputFileList().size(), 4u);

    EXPECT_EQ(run(), 4);
    for (const char* out : {"top.png", "a/one.png", "a/b/two.png", "a/b/c/three.png"})
        EXPECT_TRUE(fs::is_regular_file(outputFolder_ + out)) << out;

    // Without keeping subfolders everything lands in the output folder itself.
    fs::remove_all(outputFolder_);
    fs::create_directory(outputFolder_);
    conversionSettings().keepSubfolders = 0;
    EXPECT_EQ(run(), 4);
    for (const char* out : {"top.png", "one.png", "two.png", "three.png"})
        EXPECT_TRUE(fs::is_regular_file(outputFolder_ + out)) << out;
    EXPECT_FALSE(fs::exists(outputFolder_ + "a"));
}

TEST_F(Worker, CountsAndDrawsOnlyAfterSuccessesAndPrintsDebugLines) {
    const std::string good1 = picture("1.pcx"), bad = broken("2.pcx"), good2 = picture("3.pcx");
    for (const std::string& p : {good1, bad, good2}) addInputFile(p);
    ConversionJob& job = conversionJob();
    job.runMode = "DEBUG";
    job.fileCounter = 1;

    testing::internal::CaptureStdout();
    const int32_t converted = run();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(job.fileCounter, 3);
    EXPECT_EQ(workerProgress().progressIndex, 3);
    EXPECT_EQ(workerProgress().progressFile, good2);
    // The file after a failure sees 0 milliseconds for the previous one.
    EXPECT_EQ(workerProgress().lastFileMillis, 0);

    const std::string expected = "Processing: " + good1 + "\n";
    EXPECT_EQ(printed.rfind(expected, 0), 0u) << printed;
    EXPECT_NE(printed.find("File Format: "), std::string::npos);
    EXPECT_NE(printed.find("[OK] Saving As: " + outputFolder_ + "1.png\n"), std::string::npos);
    EXPECT_NE(printed.find("Processing: " + bad + "\n"), std::string::npos);
    EXPECT_NE(printed.find("[ERROR] Unable to convert the file!\n"), std::string::npos);
    EXPECT_NE(printed.find("[OK] Saving As: " + outputFolder_ + "3.png\n"), std::string::npos);

    // Without the debug option (or on the desktop) nothing is printed.
    job.runMode.clear();
    testing::internal::CaptureStdout();
    run();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    job.runMode = "DEBUG";
    job.consoleRun = 0;
    testing::internal::CaptureStdout();
    run();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Worker, AFastFileCountsAsOneSecondForTheNext) {
    addInputFile(picture("1.pcx"));
    addInputFile(broken("2.pcx"));
    run();
    EXPECT_GE(workerProgress().lastFileMillis, 1000);
}

TEST_F(Worker, FirstFileSeesTheValuesOfTheReset) {
    // The mask's counter and random number are those the file was named with.
    addInputFile(picture("1.pcx"));
    ConversionJob& job = conversionJob();
    job.fileCounter = 1;
    job.randomNumber = 4242;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(job.fileCounter, 2);
    EXPECT_GE(job.randomNumber, 1);
    EXPECT_LE(job.randomNumber, 99999);
}

TEST_F(Worker, SetsTheOutputDateAsAsked) {
    const std::string input = picture("dated.pcx");
    addInputFile(input);
    const struct timespec times[2] = {{981173106, 700000000}, {981173106, 700000000}};  // 2001-02-03, with a fraction
    ::utimensat(AT_FDCWD, input.c_str(), times, 0);
    const std::string output = outputFolder_ + "dated.png";

    conversionSettings().fileTimestamp = 1;  // ORIGINAL
    ASSERT_EQ(run(), 1);
    long nanoseconds = -1;
    EXPECT_EQ(modified(output, &nanoseconds), 981173106);
    EXPECT_EQ(nanoseconds, 0);

    conversionSettings().fileTimestamp = 2;  // CUSTOM, a local date value
    conversionSettings().customTimestamp = 1234567890;
    ASSERT_EQ(run(), 1);
    EXPECT_EQ(modified(output), systemTimeFromLocalDateValue(1234567890));
    EXPECT_EQ(localDateValueFromSystem(modified(output)), 1234567890);

    conversionSettings().fileTimestamp = 0;  // CURRENT
    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(run(), 1);
    EXPECT_GE(modified(output), before);
}

TEST_F(Worker, AStopRequestBeforeTheFirstFileConvertsNothing) {
    addInputFile(picture("1.pcx"));
    workerProgress().resultCount = 7;
    requestStop();
    runConversionWorker();  // on this thread, with the flag already cleared
    EXPECT_EQ(workerProgress().resultCount, 0);
    EXPECT_TRUE(fs::is_empty(outputFolder_));
    EXPECT_EQ(inputFileList().size(), 1u);
}

TEST_F(Worker, FailedOutputSubfoldersFailTheirFilesOnly) {
    picture("ok.pcx");
    picture("blocked/x.pcx");
    writeFile(outputFolder_ + "blocked", "a file where the subfolder should be");
    conversionJob().inputRoot = inputFolder_;
    runJobAndWait(scanInputFolder);
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(fs::is_regular_file(outputFolder_ + "ok.png"));
    EXPECT_EQ(readFile(outputFolder_ + "blocked"), "a file where the subfolder should be");
}

}  // namespace
}  // namespace pixalto::test
