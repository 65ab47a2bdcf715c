#include "engine/pcx/pcx_header.h"

#include <algorithm>

#include "engine/pcx/pcx_layouts.h"

namespace pixalto {

namespace {

uint16_t word(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}

bool knownVersion(uint8_t v) { return v == 0 || v == 2 || v == 3 || v == 4 || v == 5; }

// The most bytes the run-length data after the header can decode to: a
// two-byte run gives at most 63 bytes, a single literal byte gives one.
uint64_t mostDecodableBytes(uint64_t dataBytes) { return dataBytes / 2 * 63 + dataBytes % 2; }

}  // namespace

bool readPcxHeader(std::string_view file, PcxHeader& out) {
    if (file.size() < kPcxHeaderSize) return false;
    const auto byte = [&](size_t at) { return static_cast<uint8_t>(file[at]); };
    if (byte(0) != 10 || !knownVersion(byte(1)) || byte(2) != 1) return false;

    PcxHeader h;
    h.version = byte(1);
    h.bitsPerPixel = byte(3);
    h.planes = byte(65);
    h.bytesPerLine = word(file, 66);
    if (!pcxLayoutOf(h.bitsPerPixel, h.planes)) return false;

    const uint16_t xMin = word(file, 4), yMin = word(file, 6), xMax = word(file, 8), yMax = word(file, 10);
    if (xMax < xMin || yMax < yMin) return false;
    h.width = uint32_t{xMax} - xMin + 1;
    h.height = uint32_t{yMax} - yMin + 1;
    if (uint64_t{h.width} * h.height > kPcxMaxPixels) return false;
    if (h.bytesPerLine == 0) return false;

    // Lines shorter than the width still claim the width.
    const uint64_t lineBytes = std::max<uint64_t>(h.bytesPerLine, (uint64_t{h.width} * h.bitsPerPixel + 7) / 8);
    const uint64_t claimed = lineBytes * h.planes * h.height;
    if (claimed > mostDecodableBytes(file.size() - kPcxHeaderSize)) return false;

    for (size_t i = 0; i < h.palette.size(); ++i) h.palette[i] = byte(16 + i);
    out = h;
    return true;
}

bool pcxLinesCoverWidth(const PcxHeader& h) {
    return uint64_t{h.bytesPerLine} * 8 >= uint64_t{h.width} * h.bitsPerPixel;
}

}  // namespace pixalto
