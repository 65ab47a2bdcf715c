// Save flags, the compact-palette BMP, automatic depths, the icon size limit,
// and what a failed save or a bad input leaves behind.
#include <FreeImage.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/run_state.h"
#include "engine/pipeline.h"
#include "tests/engine/support/engine_fixture.h"

namespace fs = std::filesystem;

namespace pixalto::test {
namespace {

struct FlagCase {
    const char* extension;
    void (*set)(ConversionSettings&);
    int flags;
};

TEST(SaveFlags, FollowTheFormatsOptions) {
    const FlagCase cases[] = {
        {"png", [](ConversionSettings& s) { s.pngCompression = 3, s.pngInterlaced = 1; }, 0x209},
        {"png", [](ConversionSettings&) {}, PNG_Z_NO_COMPRESSION},
        {"png", [](ConversionSettings& s) { s.pngCompression = 2; }, 6},
        {"jpg", [](ConversionSettings& s) { s.jpgQuality = 80, s.jpgChroma = 2, s.jpgSaveAs = 3; }, 0x6050},
        {"jpg", [](ConversionSettings&) {}, 95 | JPEG_SUBSAMPLING_444},
        {"jpg", [](ConversionSettings& s) { s.jpgChroma = 9, s.jpgSaveAs = 1; }, 95 | JPEG_BASELINE},
        {"bmp", [](ConversionSettings& s) { s.bmpCompression = 1; }, BMP_SAVE_RLE},
        {"bmp", [](ConversionSettings& s) { s.bmpCompression = 2; }, 0},
        {"exr", [](ConversionSettings& s) { s.exrCompression = 4; }, EXR_B44},
        {"exr", [](ConversionSettings&) {}, EXR_NONE},
        {"tga", [](ConversionSettings& s) { s.tgaCompression = 1; }, TARGA_SAVE_RLE},
        {"tiff", [](ConversionSettings& s) { s.tiffCompression = 6, s.tiffColorMode = 1; }, TIFF_LZW | TIFF_CMYK},
        {"tiff", [](ConversionSettings& s) { s.tiffCompression = 9; }, 0},
        {"tiff", [](ConversionSettings&) {}, TIFF_NONE},
        {"webp", [](ConversionSettings&) {}, WEBP_LOSSLESS},
        {"webp", [](ConversionSettings& s) { s.webpQuality = 75; }, 75},
        {"jxr", [](ConversionSettings&) {}, JXR_LOSSLESS},
        {"gif", [](ConversionSettings& s) { s.pngInterlaced = 1; }, 0},
        {"pcx", [](ConversionSettings&) {}, 0},
    };
    for (const FlagCase& c : cases) {
        ConversionSettings settings;
        applyDefaults(settings, true);
        c.set(settings);
        EXPECT_EQ(saveFlagsFor(settings, c.extension), c.flags) << c.extension;
    }
}

class PipelineSave : public EngineTest {
protected:
    // A 24-bit picture of the given size.
    std::string writeTrueColour(const std::string& name, unsigned width, unsigned height) {
        return writeInput(name, encodePcx(pictureOfDepth(24, width, height)));
    }
    static unsigned savedDepth(const std::string& path) {
        FIBITMAP* dib = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
        const unsigned bpp = dib ? FreeImage_GetBPP(dib) : 0;
        if (dib) FreeImage_Unload(dib);
        return bpp;
    }
    size_t filesInOutput() const { return std::distance(fs::directory_iterator(outputFolder_), {}); }
};

TEST_F(PipelineSave, CompactPaletteBmpHoldsOnlyTheUsedColours) {
    PcxPicture picture = pictureOfDepth(8, 30, 20);
    for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<uint32_t>(i % 6);
    const std::string input = writeInput("six.pcx", encodePcx(picture));
    conversionSettings().bmpColorTable = 1;
    chooseFormat("bmp", 8);

    ASSERT_TRUE(convert(input));
    const std::string bmp = readFile(conversionJob().outputPath);
    ASSERT_GE(bmp.size(), 54u);
    const auto le32 = [&](size_t at) {
        return uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 | uint32_t(uint8_t(bmp[at + 2])) << 16 |
               uint32_t(uint8_t(bmp[at + 3])) << 24;
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(le32(2), bmp.size());
    EXPECT_EQ(le32(10), 78u);   // pixel data after six colour entries
    EXPECT_EQ(le32(46), 6u);    // colours used
    EXPECT_EQ(le32(50), 6u);    // colours important
    EXPECT_EQ(bmp.size(), 78u + 32u * 20u);  // rows of 30 bytes padded to 32
    EXPECT_EQ(imageMagickRgb(conversionJob().outputPath), netpbmPcxRgb(input));
}

TEST_F(PipelineSave, CompactPaletteBmpWithRunLengthCompressionStaysReadable) {
    PcxPicture picture = pictureOfDepth(8, 30, 20);
    for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<uint32_t>(i / 90);
    const std::string input = writeInput("runs.pcx", encodePcx(picture));
    conversionSettings().bmpColorTable = 1;
    conversionSettings().bmpCompression = 1;
    chooseFormat("bmp", 8);
    ASSERT_TRUE(convert(input));
    EXPECT_EQ(imageMagickRgb(conversionJob().outputPath), netpbmPcxRgb(input));
}

TEST_F(PipelineSave, AutomaticDepthFollowsTheLoadedDepth) {
    struct Case {
        int inputDepth;
        const char* extension;
        int savedDepth;
    };
    const Case cases[] = {{1, "png", 1}, {24, "gif", 8}, {24, "jpg", 24}, {1, "dds", 32},
                          {8, "dds", 32}, {24, "dds", 32}, {4, "bmp", 4}, {1, "ppm", 24},
                          // Colour pictures are not made grey by the automatic depth of
                          // writers whose 8 bits are grey levels; PGM is grey by nature.
                          {8, "j2k", 24}, {4, "jp2", 24}, {8, "pgm", 8}, {1, "j2k", 8}};
    for (const Case& c : cases) {
        const std::string input = writeInput("auto.pcx", encodePcx(pictureOfDepth(c.inputDepth, 64, 40)));
        chooseFormat(c.extension);
        ASSERT_TRUE(convert(input)) << c.extension;
        EXPECT_EQ(conversionJob().sourceBitDepth, c.inputDepth);
        EXPECT_EQ(conversionJob().targetBitDepth, c.savedDepth) << c.extension;
        EXPECT_EQ(savedDepth(conversionJob().outputPath), unsigned(c.savedDepth)) << c.extension;
    }
}

TEST_F(PipelineSave, AutomaticDepthUsesTheDepthAsLoadedNotAfterTheSteps) {
    // Greyscale makes 8 bits of a 1-bit picture; PNG's automatic depth still
    // comes from the 1 bit that was loaded.
    conversionSettings().doImageGreyscale = 1;
    const std::string input = writeInput("mono.pcx", encodePcx(pictureOfDepth(1, 64, 40)));
    chooseFormat("png");
    ASSERT_TRUE(convert(input));
    EXPECT_EQ(savedDepth(conversionJob().outputPath), 1u);
}

TEST_F(PipelineSave, IconsLargerThan128AreSqueezedToExactly128) {
    chooseFormat("ico");
    ASSERT_TRUE(convert(writeTrueColour("wide.pcx", 300, 200)));
    EXPECT_EQ(conversionJob().resultWidth, 128);
    EXPECT_EQ(conversionJob().resultHeight, 128);
    const DecodedSize wide = imageMagickSize(conversionJob().outputPath);
    EXPECT_EQ(wide.width, 128);
    EXPECT_EQ(wide.height, 128);

    ASSERT_TRUE(convert(writeTrueColour("small.pcx", 100, 100)));
    EXPECT_EQ(imageMagickSize(conversionJob().outputPath).width, 100);
    // Other formats keep large pictures as they are.
    chooseFormat("png");
    ASSERT_TRUE(convert(writeTrueColour("wide.pcx", 300, 200)));
    EXPECT_EQ(imageMagickSize(conversionJob().outputPath).width, 300);
}

TEST_F(PipelineSave, ReplacesAReadOnlyOutputOfAnyWriter) {
    for (const char* ext : {"pcx", "png", "psd"}) {
        chooseFormat(ext);
        const std::string output = outputFolder_ + "pic." + ext;
        writeFile(output, "old");
        ::chmod(output.c_str(), 0444);
        ASSERT_TRUE(convert(writeTrueColour("pic.pcx", 64, 40))) << ext;
        EXPECT_EQ(imageMagickSize(output).width, 64) << ext;
        EXPECT_EQ(filesInOutput(), 1u);
        fs::remove(output);
    }
}

TEST_F(PipelineSave, AFailedSaveLeavesTheOlderOutputAndNoTemporaryFile) {
    const std::string input = writeTrueColour("pic.pcx", 400, 300);

    // Output folder that cannot be written (root may write anyway).
    if (::geteuid() != 0) {
        chooseFormat("png");
        writeFile(outputFolder_ + "pic.png", "older");
        ::chmod(outputFolder_.c_str(), 0555);
        EXPECT_FALSE(convert(input));
        ::chmod(outputFolder_.c_str(), 0755);
        EXPECT_EQ(readFile(outputFolder_ + "pic.png"), "older");
        EXPECT_EQ(filesInOutput(), 1u);
        fs::remove(outputFolder_ + "pic.png");
    }

    // A name the file system refuses: a folder already has it.
    chooseFormat("bmp");
    fs::create_directory(outputFolder_ + "pic.bmp");
    EXPECT_FALSE(convert(input));
    EXPECT_TRUE(fs::is_directory(outputFolder_ + "pic.bmp"));
    EXPECT_EQ(filesInOutput(), 1u);
    fs::remove(outputFolder_ + "pic.bmp");

    // An output folder that does not exist.
    conversionJob().outputFolder = outputFolder_ + "missing/";
    EXPECT_FALSE(convert(input));
    EXPECT_FALSE(fs::exists(outputFolder_ + "missing"));
    conversionJob().outputFolder = outputFolder_;
}

// The disk fills up part-way through the file: the limit on file size makes
// every write past it fail as a full disk does.
TEST_F(PipelineSave, AFullDiskLeavesTheOlderOutputUntouched) {
    const std::string input = writeTrueColour("pic.pcx", 400, 300);
    for (const char* ext : {"bmp", "tiff", "png", "pcx", "dds"}) {
        chooseFormat(ext);
        conversionSettings().bmpColorTable = 0;
        const std::string output = outputFolder_ + "pic." + ext;
        writeFile(output, "older output");

        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit small = saved;
        small.rlim_cur = 4096;
        const auto previous = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const bool converted = convert(input);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, previous);

        EXPECT_FALSE(converted) << ext;
        EXPECT_EQ(readFile(output), "older output") << ext;
        EXPECT_EQ(filesInOutput(), 1u) << ext;
        fs::remove(output);
    }
}

TEST_F(PipelineSave, BadInputIsNotConvertedAndWritesNothing) {
    const std::string good = encodePcx(pictureOfDepth(24, 64, 40));
    std::string huge = good;
    huge[8] = '\x5F', huge[9] = '\xEA', huge[10] = '\x5F', huge[11] = '\xEA';  // 60000 by 60000
    const std::pair<const char*, std::string> inputs[] = {
        {"empty", ""},
        {"header only", good.substr(0, 128)},
        {"truncated", good.substr(0, good.size() / 3)},
        {"60000 by 60000", huge},
        {"not a picture", std::string(5000, '\xC1')},
        {"text", "hello, this is not a PCX file\n"},
    };
    chooseFormat("png");
    for (const auto& [what, bytes] : inputs) {
        SCOPED_TRACE(what);
        const std::string input = writeInput("bad.pcx", bytes);
        const bool converted = convert(input);
        if (converted) {
            // A reader may recover part of a truncated file; what it writes is whole.
            EXPECT_STREQ(what, "truncated");
            EXPECT_EQ(imageMagickSize(conversionJob().outputPath).width, 64);
            fs::remove(conversionJob().outputPath);
        }
        EXPECT_EQ(filesInOutput(), 0u);
    }
    EXPECT_FALSE(convert(inputFolder_ + "missing.pcx"));
    EXPECT_FALSE(convert(inputFolder_));
    EXPECT_EQ(filesInOutput(), 0u);
}

TEST_F(PipelineSave, TargetDepthOutsideTheTableFailsTheFile) {
    chooseFormat("png", 7);
    EXPECT_FALSE(convert(writeTrueColour("pic.pcx", 64, 40)));
    EXPECT_EQ(filesInOutput(), 0u);
}

}  // namespace
}  // namespace pixalto::test
