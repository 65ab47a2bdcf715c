#include "engine/pcx/pcx_reader.h"

#include <algorithm>
#include <vector>

#include "engine/pcx/pcx_layouts.h"

namespace pixalto {

namespace {

// FreeImage refuses most of these, and gets the last byte of each line of
// four 1-bit planes wrong when the width is no multiple of 8.
constexpr PcxLayout kLayouts[] = {
    {1, 1, 1, PcxColours::Mono, true},      {1, 2, 4, PcxColours::Header, false},
    {1, 3, 4, PcxColours::Header, false},   {1, 4, 4, PcxColours::Header, false},
    {2, 1, 4, PcxColours::Cga, false},      {4, 1, 4, PcxColours::Header, false},
    {8, 1, 8, PcxColours::Trailer, true},   {8, 3, 24, PcxColours::Direct, true},
    {8, 4, 32, PcxColours::Direct, false},
};

struct Rgb {
    uint8_t r, g, b;
};

// The 16 colours of the CGA and EGA adapters, also the table of pictures
// whose header carries none.
constexpr Rgb kAdapterColours[16] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0xAA}, {0x00, 0xAA, 0x00}, {0x00, 0xAA, 0xAA},
    {0xAA, 0x00, 0x00}, {0xAA, 0x00, 0xAA}, {0xAA, 0x55, 0x00}, {0xAA, 0xAA, 0xAA},
    {0x55, 0x55, 0x55}, {0x55, 0x55, 0xFF}, {0x55, 0xFF, 0x55}, {0x55, 0xFF, 0xFF},
    {0xFF, 0x55, 0x55}, {0xFF, 0x55, 0xFF}, {0xFF, 0xFF, 0x55}, {0xFF, 0xFF, 0xFF},
};

// Foreground colours of the two CGA palettes (green, red, brown / cyan,
// magenta, grey), dim; the bright ones are 8 further on.
constexpr uint8_t kCgaForeground[2][3] = {{2, 4, 6}, {3, 5, 7}};

constexpr uint8_t kTrailerMarker = 0x0C;
constexpr size_t kTrailerSize = 1 + 256 * 3;

Rgb headerColour(const PcxHeader& h, unsigned i) {
    return {h.palette[i * 3], h.palette[i * 3 + 1], h.palette[i * 3 + 2]};
}

bool sameColour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Four different colours in the header are the picture's own colour table.
// Otherwise the header describes a CGA palette: the background is the high
// nibble of the first byte, and the second entry's green and blue choose the
// palette (green above blue: green, red, brown) and its intensity (either
// above 200: bright).
std::vector<Rgb> cgaColours(const PcxHeader& h) {
    std::vector<Rgb> table;
    for (unsigned i = 0; i < 4; ++i) table.push_back(headerColour(h, i));
    bool distinct = true;
    for (unsigned i = 0; i < 4; ++i)
        for (unsigned j = i + 1; j < 4; ++j) distinct = distinct && !sameColour(table[i], table[j]);
    if (distinct) return table;

    const uint8_t green = h.palette[4], blue = h.palette[5];
    const unsigned palette = green > blue ? 0 : 1;
    const unsigned bright = std::max(green, blue) > 200 ? 8 : 0;
    table[0] = kAdapterColours[h.palette[0] >> 4];
    for (unsigned i = 0; i < 3; ++i) table[i + 1] = kAdapterColours[kCgaForeground[palette][i] + bright];
    return table;
}

// The header's table; pictures of the version without one, and headers that
// hold nothing but zeros, take the adapter colours.
std::vector<Rgb> headerColours(const PcxHeader& h, unsigned count) {
    const bool empty = std::all_of(h.palette.begin(), h.palette.end(), [](uint8_t b) { return b == 0; });
    std::vector<Rgb> table;
    for (unsigned i = 0; i < count; ++i)
        table.push_back(h.version == 3 || empty ? kAdapterColours[i] : headerColour(h, i));
    return table;
}

std::vector<Rgb> trailerColours(std::string_view file) {
    std::vector<Rgb> table;
    const bool present = file.size() >= kPcxHeaderSize + kTrailerSize &&
                         static_cast<uint8_t>(file[file.size() - kTrailerSize]) == kTrailerMarker;
    for (unsigned i = 0; i < 256; ++i) {
        if (!present) {
            const auto grey = static_cast<uint8_t>(i);
            table.push_back({grey, grey, grey});
            continue;
        }
        const size_t at = file.size() - kTrailerSize + 1 + i * 3;
        table.push_back({static_cast<uint8_t>(file[at]), static_cast<uint8_t>(file[at + 1]),
                         static_cast<uint8_t>(file[at + 2])});
    }
    return table;
}

std::vector<Rgb> coloursOf(std::string_view file, const PcxHeader& h, const PcxLayout& layout) {
    switch (layout.colours) {
        case PcxColours::Mono: return {{0, 0, 0}, {255, 255, 255}};
        case PcxColours::Cga: return cgaColours(h);
        case PcxColours::Header: return headerColours(h, 1u << (h.bitsPerPixel * h.planes));
        case PcxColours::Trailer: return trailerColours(file);
        case PcxColours::Direct: break;
    }
    return {};
}

// Run-length decoding of the data after the header into out, as one stream
// (runs that carry on into the next line are allowed). Whatever the data
// does not fill stays zero.
void decodeRuns(std::string_view file, std::vector<uint8_t>& out) {
    size_t in = kPcxHeaderSize, pos = 0;
    while (pos < out.size() && in < file.size()) {
        const auto c = static_cast<uint8_t>(file[in++]);
        if ((c & 0xC0) != 0xC0) {
            out[pos++] = c;
            continue;
        }
        if (in >= file.size()) break;
        const auto value = static_cast<uint8_t>(file[in++]);
        const size_t count = std::min<size_t>(c & 0x3F, out.size() - pos);
        std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(pos), count, value);
        pos += count;
    }
}

void setIndex(BYTE* line, unsigned bpp, unsigned x, unsigned index) {
    switch (bpp) {
        case 1:
            if (index & 1) line[x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            break;
        case 4: line[x / 2] |= static_cast<BYTE>(x % 2 ? index & 0x0F : (index & 0x0F) << 4); break;
        default: line[x] = static_cast<BYTE>(index); break;
    }
}

// Each byte of a 1-bit plane spread over eight 4-bit pixels, the first pixel
// in the highest nibble.
struct PlaneSpread {
    uint32_t nibbles[256];
    constexpr PlaneSpread() : nibbles() {
        for (unsigned b = 0; b < 256; ++b)
            for (unsigned k = 0; k < 8; ++k)
                if (b & (0x80u >> k)) nibbles[b] |= 1u << (28 - 4 * k);
    }
};
constexpr PlaneSpread kPlaneSpread;

// One line of 2 to 4 planes of 1 bit into a 4-bit line, eight pixels (one
// byte of each plane) at a time. Columns the planes do not reach stay zero.
void gatherBitPlanes(const uint8_t* row, const PcxHeader& h, BYTE* line) {
    const unsigned columns = std::min<unsigned>(h.bytesPerLine, (h.width + 7) / 8);
    for (unsigned c = 0; c < columns; ++c) {
        uint32_t pixels = 0;
        for (unsigned p = 0; p < h.planes; ++p) pixels |= kPlaneSpread.nibbles[row[p * h.bytesPerLine + c]] << p;
        const unsigned count = std::min(8u, h.width - c * 8);
        if (count < 8) pixels &= ~0u << (32 - 4 * count);
        BYTE* out = line + c * 4;
        for (unsigned i = 0; i < (count + 1) / 2; ++i) out[i] = static_cast<BYTE>(pixels >> (24 - 8 * i));
    }
}

}  // namespace

const PcxLayout* pcxLayoutOf(uint8_t bitsPerPixel, uint8_t planes) {
    for (const PcxLayout& l : kLayouts)
        if (l.bitsPerPixel == bitsPerPixel && l.planes == planes) return &l;
    return nullptr;
}

Bitmap decodePcx(std::string_view file, const PcxHeader& h) {
    const PcxLayout* layout = pcxLayoutOf(h.bitsPerPixel, h.planes);
    if (!layout || h.width == 0 || h.height == 0) return {};
    const size_t lineBytes = static_cast<size_t>(pcxScanLineBytes(h));
    std::vector<uint8_t> data(lineBytes * h.height);
    decodeRuns(file, data);

    Bitmap bitmap(FreeImage_Allocate(static_cast<int>(h.width), static_cast<int>(h.height),
                                     static_cast<int>(layout->bitmapBpp), FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                     FI_RGBA_BLUE_MASK));
    if (!bitmap) return {};

    const std::vector<Rgb> colours = coloursOf(file, h, *layout);
    if (RGBQUAD* palette = FreeImage_GetPalette(bitmap.get())) {
        for (size_t i = 0; i < colours.size() && i < FreeImage_GetColorsUsed(bitmap.get()); ++i)
            palette[i] = RGBQUAD{colours[i].b, colours[i].g, colours[i].r, 0};
    }

    const unsigned bits = h.bitsPerPixel, mask = (1u << bits) - 1;
    const unsigned channelAt[4] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE, FI_RGBA_ALPHA};
    const unsigned pixelBytes = layout->bitmapBpp / 8;
    for (unsigned y = 0; y < h.height; ++y) {
        const uint8_t* row = data.data() + lineBytes * y;
        BYTE* line = FreeImage_GetScanLine(bitmap.get(), static_cast<int>(h.height - 1 - y));
        if (bits == 1 && layout->bitmapBpp == 4) {
            gatherBitPlanes(row, h, line);
            continue;
        }
        for (unsigned x = 0; x < h.width; ++x) {
            const unsigned bit = x * bits;
            if (bit / 8 >= h.bytesPerLine) break;  // lines shorter than the width end in zeros
            if (layout->colours == PcxColours::Direct) {
                for (unsigned p = 0; p < h.planes; ++p)
                    line[x * pixelBytes + channelAt[p]] = row[p * h.bytesPerLine + x];
                continue;
            }
            const unsigned shift = 8 - bits - bit % 8;
            unsigned index = 0;
            for (unsigned p = 0; p < h.planes; ++p)
                index |= ((row[p * h.bytesPerLine + bit / 8] >> shift) & mask) << (p * bits);
            setIndex(line, layout->bitmapBpp, x, index);
        }
    }
    return bitmap;
}

}  // namespace pixalto
