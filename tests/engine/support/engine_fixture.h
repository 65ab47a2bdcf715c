#pragma once
// Shared set-up of the engine tests: a clean job and settings for one output
// format, PCX pictures written into a temporary folder, and an independent
// decoder (ImageMagick, FreeImage where ImageMagick cannot read a format).
#include <gtest/gtest.h>

#include <string>

#include "core/conversion_settings.h"
#include "tests/engine/pcx_samples.h"
#include "tests/support/test_support.h"

namespace pixalto::test {

struct DecodedSize {
    int width = -1;
    int height = -1;
};

// Width and height of the first picture of a file as ImageMagick (or
// GraphicsMagick) reads it.
DecodedSize imageMagickSize(const std::string& path, bool graphicsMagick = false);
// Its pixels as 8-bit RGB, top row first ("" when it cannot be read).
std::string imageMagickRgb(const std::string& path, bool graphicsMagick = false);
// The pixels of a PCX file as netpbm's pcxtoppm decodes it, top row first.
std::string netpbmPcxRgb(const std::string& path);
// Width and height as FreeImage reads it, for formats ImageMagick lacks.
DecodedSize freeImageSize(const std::string& path);

// A PCX test picture of 1 (one plane), 4 (four planes), 8 or 24 bits.
PcxPicture pictureOfDepth(int depth, unsigned width, unsigned height);

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Points the job at an output format with automatic depth and its save flags.
    void chooseFormat(const std::string& extension, int bitDepth = 0);
    // Writes a PCX file below the input folder and returns its path.
    std::string writeInput(const std::string& relativePath, const std::string& bytes);
    // Converts one file through the pipeline.
    bool convert(const std::string& inputPath);

    TempDir dir_;
    std::string inputFolder_;
    std::string outputFolder_;
};

}  // namespace pixalto::test
