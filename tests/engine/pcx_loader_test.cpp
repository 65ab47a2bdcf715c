// Decoding of every PCX kind, through FreeImage or our own reader, compared
// pixel by pixel with what the file holds.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <set>

#include "engine/pcx/pcx_loader.h"
#include "tests/engine/pcx_samples.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

using test::PcxPicture;

// Pixels as 0xAARRGGBB, top row first.
std::vector<uint32_t> rgbaPixels(FIBITMAP* dib) {
    Bitmap rgba(FreeImage_ConvertTo32Bits(dib));
    std::vector<uint32_t> out;
    if (!rgba) return out;
    const unsigned w = rgba.width(), h = rgba.height();
    for (unsigned y = 0; y < h; ++y) {
        const BYTE* line = FreeImage_GetScanLine(rgba.get(), static_cast<int>(h - 1 - y));
        for (unsigned x = 0; x < w; ++x) {
            const BYTE* px = line + x * 4;
            out.push_back(uint32_t{px[FI_RGBA_ALPHA]} << 24 | uint32_t{px[FI_RGBA_RED]} << 16 |
                          uint32_t{px[FI_RGBA_GREEN]} << 8 | px[FI_RGBA_BLUE]);
        }
    }
    return out;
}

uint32_t opaque(uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b; }

uint32_t headerColour(const std::array<uint8_t, 48>& header, unsigned i) {
    return opaque(header[i * 3], header[i * 3 + 1], header[i * 3 + 2]);
}

// The colour a pixel of the picture must come out as.
uint32_t expectedColour(const PcxPicture& p, uint32_t v) {
    if (p.bitsPerPixel == 8 && p.planes == 3) return v | 0xFF000000u;
    if (p.bitsPerPixel == 8 && p.planes == 4) return v;
    if (p.bitsPerPixel == 8) return opaque(p.trailer[v * 3], p.trailer[v * 3 + 1], p.trailer[v * 3 + 2]);
    if (p.bitsPerPixel * p.planes == 1) return v ? 0xFFFFFFFFu : 0xFF000000u;
    return headerColour(p.header, v);
}

struct Kind {
    uint8_t bits, planes;
    unsigned width, height, bytesPerLine;
};

class PcxKinds : public ::testing::TestWithParam<Kind> {};

TEST_P(PcxKinds, DecodesEveryPixel) {
    const Kind k = GetParam();
    PcxPicture p = test::patternPicture(k.width, k.height, k.bits, k.planes);
    p.bytesPerLine = k.bytesPerLine;
    const Bitmap bitmap = loadPcxFromMemory(test::encodePcx(p));
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap.width(), k.width);
    ASSERT_EQ(bitmap.height(), k.height);
    const std::vector<uint32_t> got = rgbaPixels(bitmap.get());
    ASSERT_EQ(got.size(), p.pixels.size());
    const unsigned bpl = test::pcxBytesPerLine(p);
    for (size_t i = 0; i < got.size(); ++i) {
        const bool pastLine = i % k.width * k.bits / 8 >= bpl;  // decodes as zeros
        ASSERT_EQ(got[i], expectedColour(p, pastLine ? 0 : p.pixels[i]))
            << "pixel " << i % k.width << "," << i / k.width;
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, PcxKinds,
                         ::testing::Values(Kind{1, 1, 13, 7, 0}, Kind{1, 2, 13, 7, 0}, Kind{1, 3, 13, 7, 0},
                                           Kind{1, 4, 13, 7, 0}, Kind{2, 1, 13, 7, 0}, Kind{4, 1, 13, 7, 0},
                                           Kind{8, 1, 13, 7, 0}, Kind{8, 3, 13, 7, 0}, Kind{8, 4, 13, 7, 0},
                                           Kind{1, 4, 1, 1, 0}, Kind{2, 1, 1, 1, 0}, Kind{4, 1, 1, 1, 0},
                                           Kind{1, 2, 1, 1, 0}, Kind{8, 3, 1, 1, 0}, Kind{2, 1, 17, 3, 9},
                                           Kind{1, 4, 9, 2, 5}, Kind{8, 1, 5, 3, 5}, Kind{1, 1, 70, 2, 0},
                                           Kind{8, 1, 20, 4, 6}, Kind{8, 3, 9, 2, 4}, Kind{1, 1, 40, 3, 2},
                                           Kind{1, 4, 16, 2, 0}, Kind{1, 3, 20, 3, 2}, Kind{1, 2, 8, 2, 0},
                                           Kind{1, 4, 31, 2, 0}));

// Pictures of four colours whose header does not hold four different colours
// describe a CGA palette: a background and one of the two palettes, dim or
// bright.
struct CgaCase {
    const char* what;
    std::vector<uint8_t> header;
    uint32_t colours[4];
};

class PcxCgaPalettes : public ::testing::TestWithParam<CgaCase> {};

TEST_P(PcxCgaPalettes, ComeFromTheHeaderDescription) {
    const CgaCase& c = GetParam();
    PcxPicture p;
    p.width = 4;
    p.bitsPerPixel = 2;
    p.pixels = {0, 1, 2, 3};
    std::copy(c.header.begin(), c.header.end(), p.header.begin());
    const Bitmap bitmap = loadPcxFromMemory(test::encodePcx(p));
    ASSERT_TRUE(bitmap);
    const std::vector<uint32_t> got = rgbaPixels(bitmap.get());
    ASSERT_EQ(got.size(), 4u);
    for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(got[i], c.colours[i]) << c.what << " colour " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, PcxCgaPalettes,
    ::testing::Values(
        CgaCase{"bright green-red-yellow on blue", {0x13, 0x13, 0x13, 0xA4, 0xFF, 0x67},
                {0xFF0000AA, 0xFF55FF55, 0xFFFF5555, 0xFFFFFF55}},
        CgaCase{"dim cyan-magenta-grey on cyan", {0x3E, 0x3E, 0x3E, 0xF0, 0x00, 0x00},
                {0xFF00AAAA, 0xFF00AAAA, 0xFFAA00AA, 0xFFAAAAAA}},
        CgaCase{"dim green-red-brown on black", {0x00, 0x00, 0x00, 0x00, 0x80, 0x10},
                {0xFF000000, 0xFF00AA00, 0xFFAA0000, 0xFFAA5500}},
        CgaCase{"no description at all", {}, {0xFF000000, 0xFF00AAAA, 0xFFAA00AA, 0xFFAAAAAA}},
        CgaCase{"four colours of its own", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                {0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C}}));

TEST(PcxLoader, SixteenColourPicturesWithoutAColourTableTakeTheAdapterColours) {
    const uint32_t adapter[16] = {0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA,
                                  0xFFAA5500, 0xFFAAAAAA, 0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF,
                                  0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};
    for (const bool version3 : {true, false}) {
        PcxPicture p = test::patternPicture(16, 1, 4, 1);
        for (unsigned i = 0; i < 16; ++i) p.pixels[i] = i;
        if (version3) p.version = 3;
        else p.header.fill(0);
        const Bitmap bitmap = loadPcxFromMemory(test::encodePcx(p));
        ASSERT_TRUE(bitmap);
        const std::vector<uint32_t> got = rgbaPixels(bitmap.get());
        ASSERT_EQ(got.size(), 16u);
        for (unsigned i = 0; i < 16; ++i) EXPECT_EQ(got[i], adapter[i]) << "version 3: " << version3 << " " << i;
    }
}

TEST(PcxLoader, ReadsFromAFileAndRefusesWhatIsNoPicture) {
    test::TempDir dir;
    test::writeFile(dir / "a.pcx", test::encodePcx(test::patternPicture(5, 4, 2, 1)));
    const Bitmap bitmap = loadPcx((dir / "a.pcx").string());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap.width(), 5u);
    EXPECT_EQ(bitmap.height(), 4u);
    EXPECT_EQ(bitmap.bpp(), 4u);
    EXPECT_FALSE(loadPcx((dir / "missing.pcx").string()));
    EXPECT_FALSE(loadPcx(dir.str()));
    test::writeFile(dir / "empty.pcx", "");
    EXPECT_FALSE(loadPcx((dir / "empty.pcx").string()));
}

// Each case spoils one header field of a good picture.
struct BadHeader {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;
};

class PcxBadHeaders : public ::testing::TestWithParam<BadHeader> {};

TEST_P(PcxBadHeaders, AreRefused) {
    const BadHeader& c = GetParam();
    std::string file = test::encodePcx(test::patternPicture(16, 8, 8, 3));
    ASSERT_TRUE(loadPcxFromMemory(file));
    for (size_t i = 0; i < c.bytes.size(); ++i) file[c.at + i] = static_cast<char>(c.bytes[i]);
    EXPECT_FALSE(loadPcxFromMemory(file)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PcxBadHeaders,
    ::testing::Values(BadHeader{"manufacturer", 0, {11}}, BadHeader{"version", 1, {1}},
                      BadHeader{"no encoding", 2, {0}}, BadHeader{"3 bits", 3, {3}},
                      BadHeader{"8 bits in 2 planes", 65, {2}}, BadHeader{"no planes", 65, {0}},
                      BadHeader{"x window reversed", 4, {20, 0}}, BadHeader{"y window reversed", 6, {9, 0}},
                      BadHeader{"lines of no bytes", 66, {0, 0}},
                      BadHeader{"60000 x 60000", 8, {0x5F, 0xEA, 0x5F, 0xEA}},
                      BadHeader{"more rows than the data can fill", 10, {0xFF, 0x0F}},
                      BadHeader{"widest window", 4, {0, 0, 0, 0, 0xFF, 0xFF, 0, 0}}));

TEST(PcxLoader, RefusesShortFilesAndDecodesTruncatedData) {
    const std::string file = test::encodePcx(test::patternPicture(13, 7, 4, 1));
    EXPECT_FALSE(loadPcxFromMemory(file.substr(0, 127)));
    const Bitmap header = loadPcxFromMemory(file.substr(0, 130));
    ASSERT_TRUE(header) << "a small picture may lack most of its data";
    EXPECT_EQ(header.width(), 13u);
    EXPECT_EQ(header.height(), 7u);
}

// ---- The shared collection of real files ----

std::string fixture(const std::string& name) { return test::sharedFixtures() + "/" + name; }

Bitmap loadReference(const std::string& name) {
    return Bitmap(FreeImage_Load(FIF_PNG, fixture(name + ".reference.png").c_str(), 0));
}

TEST(PcxFixtures, FreeImageKindsMatchTheirReferences) {
    PIXALTO_REQUIRE_SHARED_FIXTURES();
    for (const char* name : {"24bit", "256-palette", "cga_bw", "cga_fsd", "gmarbles", "marbles"}) {
        const Bitmap bitmap = loadPcx(fixture(std::string(name) + ".pcx"));
        const Bitmap reference = loadReference(name);
        ASSERT_TRUE(bitmap) << name;
        ASSERT_TRUE(reference) << name;
        EXPECT_EQ(rgbaPixels(bitmap.get()), rgbaPixels(reference.get())) << name;
    }
}

// These two files describe a CGA palette in their headers. Their reference
// pictures take the header bytes for colours; the pictures' own texts name the
// colours meant. Each pixel must still have the reference's header colour.
TEST(PcxFixtures, CgaPaletteDescriptionsGiveTheColoursThePicturesName) {
    PIXALTO_REQUIRE_SHARED_FIXTURES();
    struct Case {
        const char* name;
        std::set<uint32_t> colours;
    };
    const Case cases[] = {
        {"cga_rgbi", {0xFF0000AA, 0xFF55FF55, 0xFFFF5555, 0xFFFFFF55}},
        {"cga_tst1", {0xFF00AAAA, 0xFFAA00AA, 0xFFAAAAAA}},
    };
    for (const Case& c : cases) {
        const std::string file = test::readFile(fixture(std::string(c.name) + ".pcx"));
        const Bitmap bitmap = loadPcxFromMemory(file);
        const Bitmap reference = loadReference(c.name);
        ASSERT_TRUE(bitmap) << c.name;
        ASSERT_TRUE(reference) << c.name;
        ASSERT_EQ(bitmap.bpp(), 4u) << c.name;
        const std::vector<uint32_t> want = rgbaPixels(reference.get());
        const std::vector<uint32_t> got = rgbaPixels(bitmap.get());
        ASSERT_EQ(got.size(), want.size()) << c.name;
        std::set<uint32_t> used(got.begin(), got.end());
        EXPECT_EQ(used, c.colours) << c.name;
        const unsigned w = bitmap.width(), h = bitmap.height();
        for (unsigned y = 0; y < h; ++y)
            for (unsigned x = 0; x < w; ++x) {
                BYTE index = 0;
                FreeImage_GetPixelIndex(bitmap.get(), x, h - 1 - y, &index);
                const auto* header = reinterpret_cast<const uint8_t*>(file.data()) + 16 + index * 3;
                ASSERT_EQ(want[size_t{y} * w + x], opaque(header[0], header[1], header[2]))
                    << c.name << " pixel " << x << "," << y;
            }
    }
}

TEST(PcxFixtures, FourPlanesOfOnePixel) {
    PIXALTO_REQUIRE_SHARED_FIXTURES();
    // Planes 0 and 1 are set: index 3 of the header, pure red.
    const Bitmap bitmap = loadPcx(fixture("pillow_p_4_planes.pcx"));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(rgbaPixels(bitmap.get()), std::vector<uint32_t>{0xFFFF0000});
}

TEST(PcxFixtures, EveryFileButTheMalformedOneLoads) {
    PIXALTO_REQUIRE_SHARED_FIXTURES();
    for (const auto& entry : std::filesystem::directory_iterator(test::sharedFixtures())) {
        if (entry.path().extension() != ".pcx") continue;
        const bool malformed = entry.path().filename() == "pillow_ossfuzz_malformed.pcx";
        EXPECT_EQ(static_cast<bool>(loadPcx(entry.path().string())), !malformed) << entry.path();
    }
}

}  // namespace
}  // namespace pixalto
