// A wide and deep tree is queued in the order of a plain sorted walk, however
// the listing of its folders is shared between threads.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "tests/engine/support/engine_fixture.h"

namespace fs = std::filesystem;

namespace pixalto::test {
namespace {

class FolderScanOrder : public EngineTest {};

// The expected order: entries sorted by name, folders walked where they stand.
void sortedWalk(const fs::path& folder, std::vector<std::string>& out) {
    std::vector<fs::directory_entry> entries{fs::directory_iterator(folder), fs::directory_iterator()};
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename().string() < b.path().filename().string(); });
    for (const auto& e : entries) {
        if (e.is_directory()) sortedWalk(e.path(), out);
        else if ((e.path().extension() == ".pcx" || e.path().extension() == ".PCX") && fs::file_size(e.path()) > 0)
            out.push_back(e.path().string());
    }
}

TEST_F(FolderScanOrder, WideAndDeepTreesKeepTheWalkOrder) {
    const std::string picture = "\x0A\x05\x01\x08 some bytes";
    // 40 folders, some with subfolders of their own, some empty, files between them.
    for (int f = 0; f < 40; ++f) {
        const std::string folder = "f" + std::to_string(f % 7) + "-" + std::to_string(f);
        if (f % 5 == 0) continue;  // an empty name slot: no folder
        for (int i = 0; i < (f % 4) * 3; ++i) writeInput(folder + "/p" + std::to_string(i) + ".pcx", picture);
        if (f % 3 == 0)
            for (int d = 0; d < 3; ++d)
                writeInput(folder + "/sub" + std::to_string(d) + "/deeper/x" + std::to_string(d) + ".PCX", picture);
        writeInput(folder + "/ignored.txt", "not a picture");
        writeInput(folder + "/empty.pcx", "");
        writeInput("top" + std::to_string(f) + ".pcx", picture);
    }
    std::vector<std::string> expected;
    sortedWalk(inputFolder_, expected);

    for (const bool asJob : {true, false}) {
        inputFileList().clear();
        workerProgress().resultCount = 0;
        conversionJob().inputRoot = inputFolder_;
        int32_t added = 0;
        if (asJob) {
            runJobAndWait(scanInputFolder);
            added = workerProgress().resultCount;
        } else {
            added = scanFolderTree(inputFolder_);
        }
        std::vector<std::string> queued;
        for (const InputFileEntry* e : inputFileList().entries()) queued.push_back(e->path);
        EXPECT_EQ(queued, expected) << (asJob ? "folder job" : "tree scan");
        EXPECT_EQ(added, static_cast<int32_t>(expected.size()));
    }
}

}  // namespace
}  // namespace pixalto::test
