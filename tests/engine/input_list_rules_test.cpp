// The add-file rule, relative folders, the list import and the folder scan.
#include <unistd.h>

#include <filesystem>
#include <set>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "tests/engine/support/engine_fixture.h"

namespace fs = std::filesystem;

namespace pixalto::test {
namespace {

class InputList : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        conversionJob().inputRoot.clear();
        workerProgress().resultCount = 0;
    }
    std::string file(const std::string& relative) { return writeInput(relative, "not empty"); }
    static std::vector<std::string> listedPaths() {
        std::vector<std::string> paths;
        for (const InputFileEntry* e : inputFileList().entries()) paths.push_back(e->path);
        return paths;
    }
    static int32_t importList(const std::string& listPath) {
        conversionJob().inputPath = listPath;
        runJobAndWait(importListFile);
        return workerProgress().resultCount;
    }
};

TEST(FileExtension, FollowsTheExtensionRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"/p/a.PCX", "pcx"},   {"/p/x.tar.pcx", "pcx"}, {"/p.d/file", ""},  {"/p/.pcx", ""},
        {"/p/a.p cx", ""},     {"/p/a.", ""},            {"noext", ""},      {"/p/a\\.pcx", ""},
        {".pcx", ""},          {"a.Pc\\x", ""},          {"a.pcx", "pcx"},
    };
    for (const auto& [path, ext] : cases) EXPECT_EQ(fileExtensionOf(path), ext) << path;
}

TEST(RelativeFolder, IsTheFilesFolderBelowTheRoot) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/pics/2020/may/a.pcx", "/pics/", "2020/may/"},
        {"/pics/a.pcx", "/pics/", ""},
        {"/pics/a.pcx", "", ""},
        {"", "/pics/", ""},
        {"/other/a.pcx", "/pics/", ""},
        // The root's text again deeper down belongs to the subfolder.
        {"/a/b/a/c.pcx", "/a/", "b/a/"},
    };
    for (const auto& [path, root, expected] : cases) EXPECT_EQ(relativeFolderOf(path, root), expected) << path;
}

TEST_F(InputList, AddsEachAcceptedPathOnceInTheOrderGiven) {
    const std::string upper = file("B.PCX"), lower = file("b.pcx"), first = file("z.pcx");
    writeInput("empty.pcx", "");
    file("photo.jpg");
    file("b.pcx.bak");

    EXPECT_TRUE(addInputFile(first));
    EXPECT_TRUE(addInputFile(upper));
    EXPECT_TRUE(addInputFile(lower));  // letter case makes another path
    EXPECT_FALSE(addInputFile(upper));
    EXPECT_FALSE(addInputFile(inputFolder_ + "empty.pcx"));
    EXPECT_FALSE(addInputFile(inputFolder_ + "photo.jpg"));
    EXPECT_FALSE(addInputFile(inputFolder_ + "b.pcx.bak"));
    EXPECT_EQ(listedPaths(), (std::vector<std::string>{first, upper, lower}));

    // Removed and added again: it goes to the end.
    EXPECT_TRUE(inputFileList().remove(first));
    EXPECT_TRUE(addInputFile(first));
    EXPECT_EQ(listedPaths(), (std::vector<std::string>{upper, lower, first}));
    EXPECT_EQ(inputFileList().size(), 3u);
}

TEST_F(InputList, TheHookSeesAddedFilesOnTheDesktopOnly) {
    std::vector<std::string> seen;
    setFileAddedHook([&seen](const std::string& path) { seen.push_back(path); });
    const std::string a = file("a.pcx"), b = file("b.pcx");
    conversionJob().consoleRun = 1;
    addInputFile(a);
    conversionJob().consoleRun = 0;
    addInputFile(b);
    addInputFile(b);
    setFileAddedHook(nullptr);
    EXPECT_EQ(seen, std::vector<std::string>{b});
}

TEST_F(InputList, ResetClearsTheRunAndEmptiesTheList) {
    ConversionJob& job = conversionJob();
    addInputFile(file("a.pcx"));
    job.runMode = "DEBUG";
    job.inputRoot = job.outputFolder = job.outputPath = job.outputExtension = "x";
    job.formatId = job.targetBitDepth = job.saveFlags = 5;
    job.autoBitDepth = job.consoleRun = 1;
    job.fileCounter = 9;
    resetConversionJob();
    EXPECT_EQ(inputFileList().size(), 0u);
    EXPECT_EQ(job.runMode, "DEBUG");
    EXPECT_EQ(job.projectName, "untitled.pxq");
    EXPECT_TRUE(job.inputRoot.empty() && job.outputFolder.empty() && job.outputPath.empty());
    EXPECT_TRUE(job.outputExtension.empty());
    EXPECT_EQ(job.formatId + job.targetBitDepth + job.saveFlags + job.autoBitDepth + job.consoleRun, 0);
    EXPECT_EQ(job.fileCounter, 1);
    EXPECT_GE(job.randomNumber, 1);
    EXPECT_LE(job.randomNumber, 99999);
    EXPECT_EQ(job.programFolder.back(), '/');
}

std::string encodeAs(const std::string& utf8, const std::string& encoding) {
    if (encoding == "utf8") return utf8;
    if (encoding == "utf8bom") return "\xEF\xBB\xBF" + utf8;
    // Only code points below 0x10000 are used here, apart from one four-byte
    // letter, handled as a surrogate pair in UTF-16.
    std::vector<uint32_t> points;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = utf8[i];
        const int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        uint32_t cp = len == 1 ? c : c & (0xFF >> (len + 1));
        for (int k = 1; k < len; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points.push_back(cp);
        i += len;
    }
    const bool wide = encoding.find("32") != std::string::npos;
    const bool little = encoding.find("le") != std::string::npos;
    std::string out;
    const auto unit = [&](uint32_t v) {
        const int n = wide ? 4 : 2;
        for (int k = 0; k < n; ++k) out += static_cast<char>(v >> (8 * (little ? k : n - 1 - k)));
    };
    unit(0xFEFF);
    for (uint32_t cp : points) {
        if (!wide && cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

TEST_F(InputList, ImportsListFilesInEveryEncodingWithAByteOrderMark) {
    const std::string plain = file("one.pcx");
    const std::string accented = file("\xC3\xA9t\xC3\xA9 \xF0\x9F\x93\xB7.pcx");  // "été 📷.pcx"
    const std::string inTree1 = file("tree/a.pcx"), inTree2 = file("tree/deeper/b.pcx");
    const std::string text = "\r\n   " + plain + "  \r\n\n" + inputFolder_ + "missing.pcx\n\t" + accented + "\n" +
                             inputFolder_ + "tree\n" + plain + "\n";
    for (const char* encoding : {"utf8", "utf8bom", "utf16le", "utf16be", "utf32le", "utf32be"}) {
        SCOPED_TRACE(encoding);
        inputFileList().clear();
        workerProgress().resultCount = 0;
        writeFile(dir_.path() / "list.txt", encodeAs(text, encoding));
        EXPECT_EQ(importList((dir_.path() / "list.txt").string()), 4);
        EXPECT_EQ(listedPaths(), (std::vector<std::string>{plain, accented, inTree1, inTree2}));
        // Lines naming something that exists: the file, the accented file, the folder, the file again.
        EXPECT_EQ(workerProgress().progressIndex, 4);
        for (const InputFileEntry* e : inputFileList().entries()) EXPECT_EQ(e->relativeFolder, "");
    }
}

TEST_F(InputList, ListFilesThatAreNotTextAddWhatExistsAndNothingElse) {
    const std::string good = file("good.pcx");
    std::string bytes;
    bytes += inputFolder_ + std::string(1, '\0') + "garbage\n";  // would name the input folder
    bytes += std::string(3 << 20, 'a') + "\n";                  // one line of 3 MB
    bytes += good + "\n";
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 131) & 0xFF);
    bytes += "\n" + inputFolder_ + std::string(1, '\0') + "\n";
    writeFile(dir_.path() / "binary.lst", bytes);
    file("other.pcx");  // in the input folder: must not come in through the NUL lines

    EXPECT_EQ(importList((dir_.path() / "binary.lst").string()), 1);
    EXPECT_EQ(listedPaths(), std::vector<std::string>{good});

    // A list that cannot be opened adds nothing.
    EXPECT_EQ(importList((dir_.path() / "no-such-list.txt").string()), 1);  // count stays
    EXPECT_EQ(inputFileList().size(), 1u);
}

TEST_F(InputList, FolderScansAreSortedRecursiveAndFollowNoFolderLinks) {
    const std::string c = file("c.pcx"), a = file("a.pcx"), deep = file("sub/deeper/z.pcx"), sub = file("sub/m.pcx");
    file("B.txt");
    const std::string outsideFile = (dir_.path() / "outside.pcx").string();
    writeFile(outsideFile, "x");
    fs::create_directory_symlink(inputFolder_, inputFolder_ + "sub/loop");      // back to the root
    fs::create_symlink(outsideFile, inputFolder_ + "linked.pcx");               // a link to a file is a file
    fs::create_symlink(inputFolder_ + "gone.pcx", inputFolder_ + "dangling.pcx");

    conversionJob().inputRoot = inputFolder_;
    workerProgress().resultCount = 2;  // the scan adds to the count it finds
    runJobAndWait(scanInputFolder);
    EXPECT_EQ(workerProgress().resultCount, 2 + 6);
    // "dangling.pcx" is refused by nothing but its missing target's size; it
    // comes in like any path the add-file rule accepts.
    std::vector<std::string> paths = listedPaths();
    EXPECT_EQ(paths, (std::vector<std::string>{a, c, inputFolder_ + "dangling.pcx", inputFolder_ + "linked.pcx", deep,
                                               sub}));
    EXPECT_EQ(inputFileList().lookup(deep).relativeFolder, "sub/deeper/");
    EXPECT_EQ(inputFileList().lookup(a).relativeFolder, "");
    // Top-level entries taken: B.txt, a, c, dangling, linked, sub.
    EXPECT_EQ(workerProgress().progressIndex, 6);
}

TEST_F(InputList, AFolderThatCannotBeListedAddsNothing) {
    conversionJob().inputRoot = inputFolder_ + "missing/";
    runJobAndWait(scanInputFolder);
    EXPECT_EQ(workerProgress().resultCount, 0);
    EXPECT_EQ(scanFolderTree(inputFolder_ + "missing/"), 0);
}

}  // namespace
}  // namespace pixalto::test
