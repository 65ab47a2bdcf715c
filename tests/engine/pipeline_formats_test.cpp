// Every output format, from PCX pictures of every depth, read back by a decoder
// that is not ours.
#include <FreeImage.h>

#include <filesystem>
#include <set>

#include "core/run_state.h"
#include "tests/engine/support/engine_fixture.h"

namespace pixalto::test {
namespace {

// ImageMagick reads this system's TGA files upside down (netpbm and
// GraphicsMagick agree with the file's own origin flag), so TGA is read
// with GraphicsMagick.
enum class Reader { ImageMagick, GraphicsMagick, FreeImage, JxrLib };

struct FormatCase {
    const char* extension;
    Reader reader;
    std::set<int> exactFrom;  // input depths whose pixels come back unchanged
};

const std::set<int> kAll = {1, 4, 8, 24};

const FormatCase kFormats[] = {
    {"bmp", Reader::ImageMagick, kAll},   {"dds", Reader::ImageMagick, {}},
    {"exr", Reader::FreeImage, {}},       {"gif", Reader::ImageMagick, {8}},
    {"hdr", Reader::ImageMagick, {}},     {"ico", Reader::ImageMagick, kAll},
    {"j2k", Reader::ImageMagick, {}},     {"jng", Reader::ImageMagick, {}},
    {"jp2", Reader::ImageMagick, {}},     {"jpg", Reader::ImageMagick, {}},
    {"jxr", Reader::JxrLib, kAll},        {"pbm", Reader::ImageMagick, {1}},
    {"pcx", Reader::ImageMagick, kAll},   {"pfm", Reader::ImageMagick, kAll},
    {"pgm", Reader::ImageMagick, {}},     {"png", Reader::ImageMagick, kAll},
    {"ppm", Reader::ImageMagick, kAll},   {"psd", Reader::ImageMagick, kAll},
    {"tga", Reader::GraphicsMagick, {8, 24}}, {"tiff", Reader::ImageMagick, kAll},
    {"wbmp", Reader::ImageMagick, {1}},   {"webp", Reader::ImageMagick, kAll},
    {"xpm", Reader::ImageMagick, kAll},
};

// JPEG XR is read back with jxrlib's own decoder into a BMP file that
// ImageMagick then reads.
std::string decodeJpegXr(const std::string& path) {
    const std::string bmp = path + ".decoded.bmp";
    const std::string command = "JxrDecApp -i '" + path + "' -o '" + bmp + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? bmp : std::string();
}

void PrintTo(const FormatCase& format, std::ostream* out) { *out << format.extension; }

class PipelineFormats : public EngineTest, public ::testing::WithParamInterface<std::tuple<FormatCase, int>> {};

TEST_P(PipelineFormats, WritesAPictureOfTheRightSizeThatAnotherDecoderReads) {
    const auto& [format, depth] = GetParam();
    const std::string ext = format.extension;
    // Icons are square here: FreeImage writes no other icon shape. JPEG-2000
    // needs at least 32 pixels each way for its default resolution levels.
    const unsigned width = ext == "ico" ? 32 : 64, height = ext == "ico" ? 32 : 40;
    const std::string input = writeInput("picture.pcx", encodePcx(pictureOfDepth(depth, width, height)));
    chooseFormat(ext);
    const std::string output = outputFolder_ + "picture." + ext;

    ASSERT_TRUE(convert(input)) << ext << " from " << depth << " bits";
    EXPECT_EQ(conversionJob().outputPath, output);
    ASSERT_EQ(imageMagickSize(input).width, static_cast<int>(width)) << "the input must be readable by ImageMagick";
    // Only the output is left in the folder: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outputFolder_), {}), 1);
    const bool magick = format.reader != Reader::FreeImage;
    const bool gm = format.reader == Reader::GraphicsMagick;
    const std::string readable = format.reader == Reader::JxrLib ? decodeJpegXr(output) : output;
    ASSERT_FALSE(readable.empty()) << "the decoder refused " << output;
    const DecodedSize size = magick ? imageMagickSize(readable, gm) : freeImageSize(readable);
    EXPECT_EQ(size.width, static_cast<int>(width));
    EXPECT_EQ(size.height, static_cast<int>(height));
    if (format.exactFrom.count(depth)) {
        const std::string expected = netpbmPcxRgb(input);
        ASSERT_EQ(expected.size(), size_t{width} * height * 3);
        EXPECT_TRUE(imageMagickRgb(readable, gm) == expected) << ext << " changed the pixels of a " << depth << "-bit picture";
    }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, PipelineFormats,
                         ::testing::Combine(::testing::ValuesIn(kFormats), ::testing::Values(1, 4, 8, 24)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).extension) + "_from" +
                                    std::to_string(std::get<1>(info.param)) + "bit";
                         });

}  // namespace
}  // namespace pixalto::test

namespace pixalto::test {
namespace {

// PCX files written by other programs, converted to lossless PNG: the pixels
// must equal the third-party decoding that sits beside each of them.
TEST_F(EngineTest, SharedPicturesComeOutAsTheirReferenceDecodings) {
    PIXALTO_REQUIRE_SHARED_FIXTURES();
    chooseFormat("png");
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sharedFixtures())) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".pcx") continue;
        SCOPED_TRACE(path);
        const std::string reference = path.substr(0, path.size() - 4) + ".reference.png";
        if (!std::filesystem::exists(reference)) {
            // No agreed decoding (the malformed file): whatever happens, nothing half-written.
            if (convert(path)) {
                EXPECT_GT(imageMagickSize(conversionJob().outputPath).width, 0);
            }
            continue;
        }
        ASSERT_TRUE(convert(path));
        const std::string name = entry.path().stem().string();
        if (name == "cga_rgbi" || name == "cga_tst1") {
            // Their references read the CGA colour bits of the header another
            // way than the loader does; the size must still agree.
            EXPECT_EQ(imageMagickSize(conversionJob().outputPath).width, imageMagickSize(reference).width);
            EXPECT_EQ(imageMagickSize(conversionJob().outputPath).height, imageMagickSize(reference).height);
            continue;
        }
        EXPECT_TRUE(imageMagickRgb(conversionJob().outputPath) == imageMagickRgb(reference));
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace pixalto::test
