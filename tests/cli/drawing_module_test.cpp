// The program loads its drawing module (Qt and fontconfig) only for runs
// that draw, draws through it, and fails cleanly when it is missing.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "engine/bitmap.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

namespace fs = std::filesystem;
using test::RunOptions;
using test::RunResult;
using test::runPixalto;
using test::TempDir;

// Libraries the dynamic loader opens, as it reports them with LD_DEBUG=files.
RunResult runTracingLibraries(const std::vector<std::string>& args, const std::string& binary = "") {
    RunOptions opts;
    opts.env["LD_DEBUG"] = "files";
    opts.binary = binary;
    return runPixalto(args, opts);
}

bool loaded(const RunResult& r, const std::string& library) {
    return r.err.find("file=") != std::string::npos && r.err.find(library) != std::string::npos;
}

class DrawingModule : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir / "in");
        fs::create_directory(dir / "out");
        const std::string command = "convert -size 60x40 xc:'#0000ff' '" + (dir / "in" / "a.pcx").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string in() const { return (dir / "in").string(); }
    std::string out() const { return (dir / "out").string(); }

    TempDir dir;
};

TEST_F(DrawingModule, IsLoadedOnlyByRunsThatDraw) {
    const RunResult plain = runTracingLibraries({"-i", in(), "-o", out(), "-c", "png"});
    EXPECT_NE(plain.out.find("Files converted: 1 of 1"), std::string::npos) << plain.out;
    ASSERT_TRUE(loaded(plain, "libfreeimage")) << "LD_DEBUG gave no trace:\n" << plain.err;
    EXPECT_FALSE(loaded(plain, "pixalto-drawing.so"));
    EXPECT_FALSE(loaded(plain, "libQt6Gui"));
    EXPECT_FALSE(loaded(plain, "libfontconfig"));

    const RunResult framed = runTracingLibraries({"-i", in(), "-o", out(), "-c", "png", "--fr-solid-left=5"});
    EXPECT_NE(framed.out.find("Files converted: 1 of 1"), std::string::npos) << framed.out;
    EXPECT_TRUE(loaded(framed, "pixalto-drawing.so"));
    EXPECT_TRUE(loaded(framed, "libQt6Gui"));
}

TEST_F(DrawingModule, DrawsTheFrameAndTheTextWatermark) {
    const RunResult r = runPixalto({"-i", in(), "-o", out(), "-c", "png", "--fr-solid-left=6",
                                    "--fr-solid-left-color=FF0000", "--wm-text=WWWW", "--wm-font-color=FFFFFF",
                                    "--wm-text-position=middlecenter"});
    ASSERT_NE(r.out.find("Files converted: 1 of 1"), std::string::npos) << r.out << r.err;
    Bitmap png(FreeImage_Load(FIF_PNG, (dir / "out" / "a.png").c_str(), 0));
    ASSERT_TRUE(png);
    RGBQUAD c{};
    ASSERT_TRUE(FreeImage_GetPixelColor(png.get(), 2, 20, &c));
    EXPECT_EQ((std::array<int, 3>{c.rgbRed, c.rgbGreen, c.rgbBlue}), (std::array<int, 3>{255, 0, 0}));
    ASSERT_TRUE(FreeImage_GetPixelColor(png.get(), 40, 5, &c));
    EXPECT_EQ((std::array<int, 3>{c.rgbRed, c.rgbGreen, c.rgbBlue}), (std::array<int, 3>{0, 0, 255}));
    int light = 0;  // pixels of the white text over the blue picture
    for (unsigned y = 0; y < png.height(); ++y)
        for (unsigned x = 6; x < png.width(); ++x)
            if (FreeImage_GetPixelColor(png.get(), x, y, &c) && c.rgbRed > 128) ++light;
    EXPECT_GT(light, 10);
}

TEST_F(DrawingModule, MissingModuleFailsTheFilesThatDraw) {
    // The program alone in a folder: no module beside it.
    const fs::path lonely = dir / "bin" / "pixalto";
    fs::create_directory(dir / "bin");
    fs::copy_file(PIXALTO_BINARY, lonely);
    RunOptions opts;
    opts.binary = lonely.string();

    const RunResult plain = runPixalto({"-i", in(), "-o", out(), "-c", "png"}, opts);
    EXPECT_NE(plain.out.find("Files converted: 1 of 1"), std::string::npos) << plain.out;

    fs::remove(dir / "out" / "a.png");
    const RunResult framed = runPixalto({"-i", in(), "-o", out(), "-c", "png", "--fr-solid-left=5"}, opts);
    EXPECT_NE(framed.out.find("Conversion stopped"), std::string::npos) << framed.out;  // nothing converted
    EXPECT_NE(framed.err.find("Cannot load the drawing module"), std::string::npos) << framed.err;
    EXPECT_FALSE(fs::exists(dir / "out" / "a.png"));

    const RunResult marked = runPixalto({"-i", in(), "-o", out(), "-c", "png", "--wm-text=Hi"}, opts);
    EXPECT_NE(marked.out.find("Error: Invalid watermark font"), std::string::npos) << marked.out;
}

}  // namespace
}  // namespace pixalto
