// Truncated and randomly damaged PCX files: each one either loads as a
// picture of the size its header claims or is refused, and never crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "engine/pcx/pcx_header.h"
#include "engine/pcx/pcx_loader.h"
#include "tests/engine/pcx_samples.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

// Loads the bytes and checks the outcome against the header. True when loaded.
bool expectLoadedOrRefused(const std::string& file, const std::string& what) {
    const Bitmap bitmap = loadPcxFromMemory(file);
    PcxHeader header;
    const bool valid = readPcxHeader(file, header);
    if (!valid) {
        EXPECT_FALSE(bitmap) << what << ": a refused header must not load";
        return false;
    }
    if (!bitmap) return false;
    EXPECT_EQ(bitmap.width(), header.width) << what;
    EXPECT_EQ(bitmap.height(), header.height) << what;
    EXPECT_LE(uint64_t{bitmap.width()} * bitmap.height(), kPcxMaxPixels) << what;
    return true;
}

std::vector<std::pair<std::string, std::string>> baseFiles(bool withShared) {
    auto files = test::pcxSampleFiles();
    if (!withShared || test::sharedFixtures().empty()) return files;
    for (const auto& entry : std::filesystem::directory_iterator(test::sharedFixtures()))
        if (entry.path().extension() == ".pcx")
            files.emplace_back(entry.path().filename().string(), test::readFile(entry.path()));
    return files;
}

TEST(PcxRobustness, EveryTruncationOfTheSamples) {
    for (const auto& [name, bytes] : test::pcxSampleFiles())
        for (size_t n = 0; n <= bytes.size(); ++n) expectLoadedOrRefused(bytes.substr(0, n), name);
}

TEST(PcxRobustness, TruncatedSharedFiles) {
    PIXALTO_REQUIRE_SHARED_FIXTURES();
    for (const auto& [name, bytes] : baseFiles(true))
        for (size_t step = 0; step <= 40; ++step) expectLoadedOrRefused(bytes.substr(0, bytes.size() * step / 40), name);
}

// One random damage: a byte changed, a header field set to an extreme, the
// end cut off, a piece repeated, or bytes inserted.
void mutate(std::string& file, std::mt19937& random) {
    const auto pick = [&](size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(random) : 0; };
    static constexpr uint8_t kExtremes[] = {0, 1, 2, 3, 4, 8, 10, 0x0C, 0x3F, 0x7F, 0x80, 0xC0, 0xC1, 0xFE, 0xFF};
    if (file.empty()) {
        file.assign(1, static_cast<char>(random()));
        return;
    }
    switch (pick(6)) {
        case 0: file[pick(file.size())] = static_cast<char>(random()); break;
        case 1: file[pick(std::min<size_t>(file.size(), kPcxHeaderSize))] = static_cast<char>(kExtremes[pick(15)]); break;
        case 2: {
            const size_t at = pick(std::min<size_t>(file.size(), 72) / 2) * 2;
            if (at + 1 < file.size()) {
                file[at] = static_cast<char>(kExtremes[pick(15)]);
                file[at + 1] = static_cast<char>(kExtremes[pick(15)]);
            }
            break;
        }
        case 3: file.resize(pick(file.size() + 1)); break;
        case 4: {
            const size_t at = pick(file.size()), n = pick(std::min<size_t>(file.size() - at, 64) + 1);
            file.insert(at, file.substr(at, n));
            break;
        }
        default: file.insert(pick(file.size() + 1), pick(8) + 1, static_cast<char>(0xC0 | pick(64))); break;
    }
}

TEST(PcxRobustness, RandomDamageToThousandsOfCopies) {
    std::mt19937 random(20261211);
    size_t loaded = 0, total = 0;
    for (const auto& [name, bytes] : baseFiles(true)) {
        const int copies = bytes.size() > 20000 ? 150 : 400;
        for (int i = 0; i < copies; ++i) {
            std::string file = bytes;
            const size_t damages = 1 + random() % 6;
            for (size_t d = 0; d < damages; ++d) mutate(file, random);
            ++total;
            if (expectLoadedOrRefused(file, name + " copy " + std::to_string(i))) ++loaded;
        }
    }
    // Both outcomes occur: the damage is neither all fatal nor all harmless.
    EXPECT_GT(loaded, total / 10);
    EXPECT_LT(loaded, total);
}

}  // namespace
}  // namespace pixalto
