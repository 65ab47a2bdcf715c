// The console's batch run seen from outside: the program is started with
// command lines and its printed lines and written files are checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace pixalto {
namespace {

namespace fs = std::filesystem;
using test::RunOptions;
using test::RunResult;
using test::runPixalto;
using test::TempDir;
using test::writeFile;
using Lines = std::vector<std::string>;

Lines linesOf(const std::string& out) {
    Lines lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// True when the wanted lines appear in this order as whole lines of the output
// (other lines may stand between them).
bool hasLinesInOrder(const std::string& out, const Lines& wanted) {
    const Lines lines = linesOf(out);
    auto at = lines.begin();
    for (const std::string& w : wanted) {
        at = std::find(at, lines.end(), w);
        if (at == lines.end()) return false;
        ++at;
    }
    return true;
}

// A small valid PCX picture made by ImageMagick.
void makePcx(const fs::path& path, const std::string& color = "red") {
    const std::string command = "convert -size 8x6 xc:" + color + " '" + path.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Ten bytes that no PCX reader accepts, under a .pcx name.
void makeMalformedPcx(const fs::path& path) { writeFile(path, std::string("\x01\x02garbage!", 10)); }

size_t fileCount(const fs::path& folder) {
    std::error_code ec;
    size_t n = 0;
    for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file()) ++n;
    return n;
}

const char* const kConversionStopped = "Conversion stopped";
const char* const kNoInputFiles = "No input file(s) found. Please, add valid file(s) and try again!";

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir / "in");
        fs::create_directory(dir / "out");
    }
    std::string in() const { return (dir / "in").string(); }
    std::string out() const { return (dir / "out").string(); }

    TempDir dir;
};

TEST_F(BatchRun, FolderWithTwoMalformedFilesConvertsTheOtherThree) {
    makePcx(dir / "in" / "a.pcx", "red");
    makePcx(dir / "in" / "b.pcx", "blue");
    makePcx(dir / "in" / "c.pcx", "green");
    makeMalformedPcx(dir / "in" / "d.pcx");
    makeMalformedPcx(dir / "in" / "e.pcx");
    const RunResult r = runPixalto({"-i", in(), "-o", out(), "-c", "png"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(hasLinesInOrder(r.out, {"Preparing...", "Importing...", "Import complete, new files added: 5",
                                        "Converting...", "Conversion complete", "Files converted: 3 of 5"}))
        << r.out;
    EXPECT_EQ(r.out.find("Error: "), std::string::npos) << r.out;
    for (const char* name : {"a.png", "b.png", "c.png"}) EXPECT_TRUE(fs::exists(dir / "out" / name)) << name;
    EXPECT_EQ(fileCount(dir / "out"), 3u);
}

TEST_F(BatchRun, QuietSuccessPrintsNothingButDebugLinesStayWithQuiet) {
    makePcx(dir / "in" / "a.pcx");
    const RunResult quiet = runPixalto({"-q", "-i", in(), "-o", out()});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_TRUE(fs::exists(dir / "out" / "a.bmp"));

    const RunResult debug = runPixalto({"-q", "-d", "-i", in(), "-o", out()});
    EXPECT_TRUE(hasLinesInOrder(debug.out, {"Input: " + in(), "Output: " + out(), "Conversion: bmp", "BMP BPP: 0",
                                            "Keep Subfolders: 1", "Processing: " + in() + "/a.pcx",
                                            "[OK] Saving As: " + out() + "/a.bmp"}))
        << debug.out;
    for (const char* status : {"Preparing...", "Importing...", "Converting...", "Conversion complete"})
        EXPECT_FALSE(hasLinesInOrder(debug.out, {status})) << status << "\n" << debug.out;
    EXPECT_EQ(debug.out.find("Files converted"), std::string::npos) << debug.out;
    EXPECT_EQ(debug.out.find("Import complete"), std::string::npos) << debug.out;
}

TEST_F(BatchRun, DebugListingFollowsTheOptions) {
    makePcx(dir / "in" / "a.pcx");
    const RunResult r = runPixalto({"-d", "-i", in(), "-o", out(), "-c", "jpg", "--jpg-quality=80",
                                    "--jpg-chroma=medium", "--width=50", "--width-unit=percent", "--height=40",
                                    "--resize-algorithm=box", "--gamma=2.5", "--fr-solid-left=3",
                                    "--file-timestamp=custom", "--file-timestamp-custom=1700000000"});
    const Lines expected = {
        "Input: " + in(),
        "Output: " + out(),
        "Conversion: jpg",
        "JPG BPP: 0",
        "JPG Quality: 80",
        "JPG Chroma Subsampling: medium",
        "JPG Save As: standard",
        "Width: 50 percent",
        "Height: 40 pixels",
        "Keep Aspect Ratio: 0",
        "Image Resize Type: allimages",
        "Image Resize Algorithm: box",
        "Flip Horizontal: 0",
        "Flip Vertical: 0",
        "Brightness: 0",
        "Contrast: 0",
        "Gamma: 2.50",
        "Invert: 0",
        "Greyscale: 0",
        "Frame: solid",
        "Frame left: 3",
        "Frame right: 0",
        "Frame top: 0",
        "Frame bottom: 0",
        "Frame left color: 000000",
        "Frame right color: 000000",
        "Frame top color: 000000",
        "Frame bottom color: 000000",
        "Frame opacity: 255",
        "Watermark: none",
        "Filename Mask: %filename%.%ext%",
        "File Timestamp: custom",
        "Custom Timestamp: 1700000000",
        "Keep Subfolders: 1",
        "Importing...",
    };
    const Lines lines = linesOf(r.out);
    const auto first = std::find(lines.begin(), lines.end(), expected.front());
    ASSERT_NE(first, lines.end()) << r.out;
    ASSERT_GE(lines.end() - first, static_cast<long>(expected.size())) << r.out;
    EXPECT_EQ(Lines(first, first + static_cast<long>(expected.size())), expected) << r.out;
    EXPECT_TRUE(hasLinesInOrder(r.out, {"Files converted: 1 of 1"})) << r.out;
}

TEST_F(BatchRun, OptionAfterAProfileOverridesIt) {
    makePcx(dir / "in" / "a.pcx");
    const std::string profile = (dir / "p.ini").string();
    writeFile(profile, "[CLI]\n--jpg-quality=70\n");
    const RunResult optionFirst =
        runPixalto({"-q", "-d", "-i", in(), "-o", out(), "-c", "jpg", "--jpg-quality=50", "--profile=" + profile});
    EXPECT_TRUE(hasLinesInOrder(optionFirst.out, {"JPG BPP: 0", "JPG Quality: 70"})) << optionFirst.out;
    const RunResult profileFirst =
        runPixalto({"-q", "-d", "-i", in(), "-o", out(), "-c", "jpg", "--profile=" + profile, "--jpg-quality=50"});
    EXPECT_TRUE(hasLinesInOrder(profileFirst.out, {"JPG BPP: 0", "JPG Quality: 50"})) << profileFirst.out;
}

TEST_F(BatchRun, EveryValidationErrorStopsTheRunBeforeAnythingIsWritten) {
    makePcx(dir / "in" / "a.pcx");
    makePcx(dir / "in" / "pic.pcx");
    writeFile(dir / "in" / "empty.pcx", "");
    fs::create_directory(dir / "in" / "dotted.folder");
    struct Case {
        Lines args;
        const char* error;
    };
    const std::string missing = (dir / "missing.pcx").string();
    const std::vector<Case> cases = {
        {{"-i", missing}, "Error: Invalid input file"},
        {{"-i", in() + "/empty.pcx"}, "Error: Invalid input file"},
        {{"-i", in() + "/dotted.folder"}, "Error: Invalid input file"},
        {{"-i", "../pics"}, "Error: Incorrect input folder"},
        {{"-i", in() + "/nosuch"}, "Error: Invalid input folder"},
        {{"-i", in(), "-o", "../out"}, "Error: Incorrect output folder"},
        {{"-i", in(), "-o", out() + "/nosuch"}, "Error: Invalid output folder"},
        {{"-i", in(), "-c", "JPG"}, "Error: Invalid conversion type"},
        {{"-i", in(), "--bmp-bpp=7"}, "Error: Invalid bmp-bpp value"},
        {{"-i", in(), "-c", "png", "--png-bpp=16"}, "Error: Invalid png-bpp value"},
        {{"-i", in(), "-c", "jpg", "--jpg-quality=0"}, "Error: Invalid jpg-quality value"},
        {{"-i", in(), "-c", "jpg", "--jpg-quality=101"}, "Error: Invalid jpg-quality value"},
        {{"-i", in(), "-c", "webp", "--webp-quality=0"}, "Error: Invalid webp-quality value"},
        {{"-i", in(), "--width=0", "--height=10"}, "Error: Invalid width value"},
        {{"-i", in(), "--width=10"}, "Error: Invalid height value"},
        {{"-i", in(), "--brightness=101"}, "Error: Invalid brightness value"},
        {{"-i", in(), "--contrast=-101"}, "Error: Invalid contrast value"},
        {{"-i", in(), "--gamma=10"}, "Error: Invalid gamma value"},
        {{"-i", in(), "--wm-text=Hi", "--wm-font=Pixalto No Such Face Qzx"}, "Error: Invalid watermark font"},
        {{"-i", in(), "--wm-image=" + missing}, "Error: Invalid watermark image"},
    };
    for (const Case& c : cases) {
        for (bool quiet : {false, true}) {
            Lines args = c.args;
            if (std::find(args.begin(), args.end(), "-o") == args.end()) args.insert(args.end(), {"-o", out()});
            if (quiet) args.insert(args.begin(), "-q");
            const RunResult r = runPixalto(args);
            const Lines lines = linesOf(r.out);
            EXPECT_EQ(r.exitCode, 0) << c.error;
            ASSERT_FALSE(lines.empty()) << c.error;
            EXPECT_EQ(lines.back(), c.error) << r.out;
            EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.rfind("Error: ", 0) == 0; }),
                      1)
                << r.out;
            if (quiet) {
                EXPECT_EQ(lines.size(), 1u) << "quiet keeps only the error line\n" << r.out;
            }
            EXPECT_EQ(fileCount(dir / "out"), 0u) << c.error;
            EXPECT_EQ(fileCount(dir / "in"), 3u) << c.error;
        }
    }
    EXPECT_FALSE(fs::exists(dir / "out" / "nosuch"));
}

TEST_F(BatchRun, BoundaryValuesPass) {
    makePcx(dir / "in" / "a.pcx");
    const std::vector<Lines> cases = {
        {"-c", "png", "--jpg-quality=0", "--webp-quality=101", "--bmp-bpp=7"},
        {"--gamma=9.99"},
        {"--gamma=0.01"},
        {"--bmp-bpp=0"},
        {"--bmp-bpp=16"},
    };
    for (const Lines& extra : cases) {
        Lines args = {"-i", in(), "-o", out()};
        args.insert(args.end(), extra.begin(), extra.end());
        const RunResult r = runPixalto(args);
        EXPECT_EQ(r.out.find("Error: "), std::string::npos) << extra.front() << "\n" << r.out;
        EXPECT_TRUE(hasLinesInOrder(r.out, {"Files converted: 1 of 1"})) << extra.front() << "\n" << r.out;
    }
}

// A size of 0 given alone does not switch resizing on, so it is never checked;
// together with a height it is.
TEST_F(BatchRun, WidthZeroAloneLeavesResizingOff) {
    makePcx(dir / "in" / "a.pcx");
    const RunResult alone = runPixalto({"-i", in(), "-o", out(), "--width=0"});
    EXPECT_EQ(alone.out.find("Error: "), std::string::npos) << alone.out;
    EXPECT_TRUE(hasLinesInOrder(alone.out, {"Files converted: 1 of 1"})) << alone.out;
    const RunResult withHeight = runPixalto({"-i", in(), "-o", out(), "--width=0", "--height=10"});
    EXPECT_EQ(linesOf(withHeight.out).back(), "Error: Invalid width value") << withHeight.out;
}

TEST_F(BatchRun, NothingToImportEndsWithTheTwoEmptyInputLines) {
    writeFile(dir / "in" / "list.txt", (dir / "gone1.pcx").string() + "\n" + (dir / "gone2.pcx").string() + "\n");
    writeFile(dir / "in" / "photo.jpg", "not a picture we accept");
    for (const char* input : {"list.txt", "photo.jpg"}) {
        const std::string path = in() + "/" + input;
        const RunResult r = runPixalto({"-i", path, "-o", out()});
        EXPECT_TRUE(hasLinesInOrder(r.out, {"Importing...", "Import complete, new files added: 0",
                                            kConversionStopped, kNoInputFiles}))
            << r.out;
        EXPECT_EQ(r.out.find("Converting..."), std::string::npos) << r.out;
        const RunResult quiet = runPixalto({"-q", "-i", path, "-o", out()});
        EXPECT_EQ(linesOf(quiet.out), (Lines{kConversionStopped, kNoInputFiles})) << input;
    }
    EXPECT_EQ(fileCount(dir / "out"), 0u);
}

TEST_F(BatchRun, ListFileImportsItsFilesAndFolders) {
    makePcx(dir / "in" / "a.pcx");
    fs::create_directories(dir / "more" / "deep");
    makePcx(dir / "more" / "deep" / "b.pcx");
    writeFile(dir / "list.lst", (dir / "in" / "a.pcx").string() + "\n" + (dir / "more").string() + "\n" +
                                    (dir / "gone.pcx").string() + "\n");
    const RunResult r = runPixalto({"-i", (dir / "list.lst").string(), "-o", out(), "-c", "tga"});
    EXPECT_TRUE(hasLinesInOrder(r.out, {"Import complete, new files added: 2", "Files converted: 2 of 2"})) << r.out;
    EXPECT_TRUE(fs::exists(dir / "out" / "a.tga"));
    EXPECT_TRUE(fs::exists(dir / "out" / "b.tga")) << "a list file gives no subfolders";
}

TEST_F(BatchRun, NoFileConvertedEndsWithConversionStopped) {
    makeMalformedPcx(dir / "in" / "bad.pcx");
    const RunResult r = runPixalto({"-i", in(), "-o", out()});
    EXPECT_TRUE(hasLinesInOrder(r.out, {"Import complete, new files added: 1", "Converting...", kConversionStopped}))
        << r.out;
    EXPECT_EQ(r.out.find("Files converted"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(kNoInputFiles), std::string::npos) << r.out;
    const RunResult quiet = runPixalto({"-q", "-i", in(), "-o", out()});
    EXPECT_EQ(linesOf(quiet.out), (Lines{kConversionStopped}));
    EXPECT_EQ(fileCount(dir / "out"), 0u);
}

// Relative folders belong to the program's folder, so the program is copied
// into a folder of the test's own.
TEST_F(BatchRun, RelativeFoldersAreTakenBelowTheProgramFolder) {
    TempDir program;
    const fs::path binary = program / "pixalto";
    fs::copy_file(PIXALTO_BINARY, binary);
    fs::create_directories(program / "pics" / "sub");
    fs::create_directory(program / "converted");
    makePcx(program / "pics" / "sub" / "a.pcx");
    makePcx(dir / "in" / "here.pcx");

    RunOptions opts;
    opts.binary = binary.string();
    opts.workingDir = dir.str();  // a folder that has no "pics"
    const RunResult r = runPixalto({"-i", "pics", "-o", "./converted", "-c", "gif"}, opts);
    EXPECT_TRUE(hasLinesInOrder(r.out, {"Files converted: 1 of 1"})) << r.out;
    EXPECT_TRUE(fs::exists(program / "converted" / "sub" / "a.gif"));

    // A file name is taken from the current folder; without -o the output goes
    // into the file's folder part, itself taken below the program's folder.
    const RunResult sub = runPixalto({"-i", "in/here.pcx", "-c", "gif"}, opts);
    EXPECT_EQ(linesOf(sub.out).back(), "Error: Invalid output folder") << sub.out;
    // A bare file name has an empty folder part: the program's folder.
    opts.workingDir = (dir / "in").string();
    const RunResult plain = runPixalto({"-i", "here.pcx", "-c", "gif"}, opts);
    EXPECT_TRUE(hasLinesInOrder(plain.out, {"Files converted: 1 of 1"})) << plain.out;
    EXPECT_TRUE(fs::exists(program / "here.gif"));
    EXPECT_FALSE(fs::exists(dir / "in" / "here.gif"));
}

}  // namespace
}  // namespace pixalto
