#include "tests/engine/support/engine_fixture.h"

#include <FreeImage.h>

#include <cstdio>
#include <filesystem>

#include "core/format_catalogue.h"
#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "engine/pipeline.h"

namespace pixalto::test {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        if (::pclose(pipe) != 0) out.clear();
    }
    return out;
}

}  // namespace

DecodedSize imageMagickSize(const std::string& path, bool graphicsMagick) {
    DecodedSize size;
    const std::string out = commandOutput(std::string(graphicsMagick ? "gm " : "") + "identify -format '%w %h\\n' " +
                                          quoted(path + "[0]"));
    if (std::sscanf(out.c_str(), "%d %d", &size.width, &size.height) != 2) return {};
    return size;
}

std::string imageMagickRgb(const std::string& path, bool graphicsMagick) {
    if (graphicsMagick) return commandOutput("gm convert " + quoted(path + "[0]") + " -depth 8 rgb:-");
    return commandOutput("convert " + quoted(path + "[0]") + " -alpha off -depth 8 rgb:-");
}

std::string netpbmPcxRgb(const std::string& path) {
    const std::string ppm = commandOutput("pcxtoppm " + quoted(path));
    int width = 0, height = 0, maxval = 0, used = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maxval, &used) != 3 || maxval != 255) return {};
    const size_t start = static_cast<size_t>(used) + 1;  // one blank after the header
    if (ppm.size() != start + size_t(width) * height * 3) return {};
    return ppm.substr(start);
}

DecodedSize freeImageSize(const std::string& path) {
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN) return {};
    FIBITMAP* dib = FreeImage_Load(fif, path.c_str(), 0);
    if (!dib) return {};
    DecodedSize size{static_cast<int>(FreeImage_GetWidth(dib)), static_cast<int>(FreeImage_GetHeight(dib))};
    FreeImage_Unload(dib);
    return size;
}

PcxPicture pictureOfDepth(int depth, unsigned width, unsigned height) {
    const uint8_t bits = depth == 4 || depth == 1 ? 1 : 8;
    const uint8_t planes = depth == 4 ? 4 : depth == 24 ? 3 : 1;
    PcxPicture picture = patternPicture(width, height, bits, planes);
    if (depth == 1) {
        // Black and white, as every reader agrees on for one-bit pictures.
        picture.header.fill(0);
        for (int i = 3; i < 6; ++i) picture.header[i] = 0xFF;
    }
    return picture;
}

void EngineTest::SetUp() {
    applyDefaults(conversionSettings(), true);
    resetConversionJob();
    inputFolder_ = (dir_.path() / "in").string() + "/";
    outputFolder_ = (dir_.path() / "out").string() + "/";
    std::filesystem::create_directories(inputFolder_);
    std::filesystem::create_directories(outputFolder_);
    ConversionJob& job = conversionJob();
    job.consoleRun = 1;
    job.outputFolder = outputFolder_;
    chooseFormat("png");
}

void EngineTest::chooseFormat(const std::string& extension, int bitDepth) {
    ConversionJob& job = conversionJob();
    const OutputFormat* format = findOutputFormat(extension);
    ASSERT_NE(format, nullptr) << extension;
    job.outputExtension = extension;
    job.formatId = format->formatId;
    job.targetBitDepth = bitDepth;
    job.autoBitDepth = bitDepth == 0 ? 1 : 0;
    job.saveFlags = saveFlagsFor(conversionSettings(), extension);
}

std::string EngineTest::writeInput(const std::string& relativePath, const std::string& bytes) {
    const std::filesystem::path path = std::filesystem::path(inputFolder_) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    writeFile(path, bytes);
    return path.string();
}

bool EngineTest::convert(const std::string& inputPath) {
    ConversionJob& job = conversionJob();
    job.inputPath = inputPath;
    job.relativeFolder.clear();
    return convertFile(job, conversionSettings());
}

}  // namespace pixalto::test
