#include "services/list_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

namespace fs = std::filesystem;

const std::string kBom = "\xEF\xBB\xBF";

class ListExport : public ::testing::Test {
protected:
    void SetUp() override { setProgress(0, 1); }
    static void setProgress(int32_t resultCount, int8_t runFlag) {
        std::lock_guard<std::mutex> lock(progressLock());
        workerProgress() = WorkerProgress{};
        workerProgress().resultCount = resultCount;
        workerProgress().runFlag = runFlag;
    }
    static WorkerProgress progress() {
        std::lock_guard<std::mutex> lock(progressLock());
        return workerProgress();
    }
    test::TempDir dir;
};

TEST_F(ListExport, WritesTheRowsWithByteOrderMarkAndCrLfAfterEach) {
    const std::string path = (dir / "list.txt").string();
    test::writeFile(path, "an older, longer list that is replaced");
    setProgress(4, 1);
    const std::vector<std::string> rows = {"/p/a.pcx", "/p/sub dir/b \xC3\xA9.pcx", "/p/c.pcx"};
    EXPECT_EQ(writeListFile(rows, path), 3);
    EXPECT_EQ(test::readFile(path), kBom + "/p/a.pcx\r\n/p/sub dir/b \xC3\xA9.pcx\r\n/p/c.pcx\r\n");
    EXPECT_EQ(progress().progressIndex, 3);
    EXPECT_EQ(progress().resultCount, 7);  // added to what was there
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(ListExport, AStoppedExportKeepsTheByteOrderMarkAndNoRows) {
    const std::string path = (dir / "list.txt").string();
    setProgress(0, 0);
    EXPECT_EQ(writeListFile({"/p/a.pcx", "/p/b.pcx"}, path), 0);
    EXPECT_EQ(test::readFile(path), kBom);
    EXPECT_EQ(progress().progressIndex, 0);
    EXPECT_EQ(progress().resultCount, 0);
}

TEST_F(ListExport, AFileThatCannotBeWrittenCountsNothing) {
    const std::string path = (dir / "missing" / "list.txt").string();
    EXPECT_EQ(writeListFile({"/p/a.pcx"}, path), 0);
    EXPECT_EQ(progress().resultCount, 0);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(ListExport, RunsAsAJobOnTheJobsInputPath) {
    const std::string path = (dir / "job.lst").string();
    conversionJob().inputPath = path;
    setRowsToExport({"/x/1.pcx", "/x/2.pcx"});
    startJob(exportListFile).join();
    EXPECT_EQ(test::readFile(path), kBom + "/x/1.pcx\r\n/x/2.pcx\r\n");
    EXPECT_EQ(progress().resultCount, 2);
}

TEST_F(ListExport, ChoosesTheNameAndAsksOnlyBeforeReplacingContent) {
    EXPECT_EQ(exportFileName("/d/list"), "/d/list.txt");
    EXPECT_EQ(exportFileName("/d/list.lst"), "/d/list.lst");
    EXPECT_EQ(exportFileName("/d.x/list"), "/d.x/list.txt");
    const std::string path = (dir / "list.txt").string();
    EXPECT_FALSE(exportNeedsOverwriteQuestion(path));
    test::writeFile(path, "");
    EXPECT_FALSE(exportNeedsOverwriteQuestion(path));
    test::writeFile(path, "x");
    EXPECT_TRUE(exportNeedsOverwriteQuestion(path));
}

TEST_F(ListExport, AnExportedListImportsEveryPathOnce) {
    resetConversionJob();
    std::vector<std::string> rows;
    for (const char* name : {"a.pcx", "sub dir/b \xC3\xA9.pcx", "c.PCX"}) {
        fs::create_directories((dir / name).parent_path());
        test::writeFile(dir / name, "not empty");
        rows.push_back((dir / name).string());
    }
    const std::string list = (dir / "list.txt").string();
    ASSERT_EQ(writeListFile(rows, list), 3);

    conversionJob().inputPath = list;
    setProgress(0, 1);
    startJob(importListFile).join();
    EXPECT_EQ(progress().resultCount, 3);
    ASSERT_EQ(inputFileList().size(), 3u);
    std::vector<std::string> imported;
    for (const InputFileEntry* entry : inputFileList().entries()) imported.push_back(entry->path);
    EXPECT_EQ(imported, rows);

    // Imported again into the same list: every path is there already.
    setProgress(0, 1);
    startJob(importListFile).join();
    EXPECT_EQ(progress().resultCount, 0);
    EXPECT_EQ(inputFileList().size(), 3u);
    resetConversionJob();
}

}  // namespace
}  // namespace pixalto
