#pragma once
// The combinations of bits per pixel and planes that PCX pictures use, and
// how each one becomes a FreeImage bitmap.
#include <cstdint>

namespace pixalto {

enum class PcxColours : uint8_t {
    Mono,     // black and white
    Cga,      // four colours chosen by the header's CGA palette description
    Header,   // up to 16 colours from the header's colour table
    Trailer,  // 256 colours from the table after the picture data
    Direct,   // one 8-bit plane per channel: red, green, blue (and alpha)
};

struct PcxLayout {
    uint8_t bitsPerPixel;
    uint8_t planes;
    unsigned bitmapBpp;  // depth of the FreeImage bitmap it decodes to
    PcxColours colours;
    bool freeImageReads;  // FreeImage's reader decodes it correctly
};

// The layout of a bits-and-planes combination, or nullptr when no PCX
// picture uses it.
const PcxLayout* pcxLayoutOf(uint8_t bitsPerPixel, uint8_t planes);

}  // namespace pixalto
