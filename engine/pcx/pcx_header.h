#pragma once
// The 128-byte PCX file header and the checks a file must pass before any of
// its picture data is decoded.
#include <array>
#include <cstdint>
#include <string_view>

namespace pixalto {

inline constexpr size_t kPcxHeaderSize = 128;
// Largest picture accepted, in pixels (16384 x 16384).
inline constexpr uint64_t kPcxMaxPixels = uint64_t{1} << 28;

struct PcxHeader {
    uint8_t version = 0;
    uint8_t bitsPerPixel = 0;   // bits per pixel in each plane
    uint8_t planes = 0;
    uint16_t bytesPerLine = 0;  // of one plane of one scan line
    uint32_t width = 0;
    uint32_t height = 0;
    std::array<uint8_t, 48> palette{};  // 16 RGB triples
};

// Reads and checks the header: manufacturer 10, a known version, run-length
// encoding, a bits-and-planes combination of a real PCX picture, a window
// with max >= min, lines of at least one byte, at most kPcxMaxPixels
// pixels, and enough data after the header to fill the claimed picture even
// at the best possible compression. False when any check fails.
bool readPcxHeader(std::string_view file, PcxHeader& out);

// False when a scan line holds fewer bytes than the width needs (such files
// exist; the pixels past the line's end are read as zeros).
bool pcxLinesCoverWidth(const PcxHeader& h);

// Bytes of one decoded scan line (all planes).
inline uint64_t pcxScanLineBytes(const PcxHeader& h) { return uint64_t{h.bytesPerLine} * h.planes; }

}  // namespace pixalto
