#pragma once
// Writes small PCX files of every bits-and-planes combination, for the tests
// of the PCX loader and as seeds of its fuzz target.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pixalto::test {

struct PcxPicture {
    unsigned width = 1, height = 1;
    uint8_t bitsPerPixel = 8, planes = 1;
    uint8_t version = 5;
    unsigned bytesPerLine = 0;           // 0: the shortest even length
    std::array<uint8_t, 48> header{};    // the header's 16 colours
    std::vector<uint8_t> trailer;        // 768 bytes of a 256-colour table, or none
    // Top row first. A palette index, or 0xAARRGGBB for one plane per channel.
    std::vector<uint32_t> pixels;
};

inline unsigned pcxBytesPerLine(const PcxPicture& p) {
    if (p.bytesPerLine) return p.bytesPerLine;
    const unsigned bytes = (p.width * p.bitsPerPixel + 7) / 8;
    return bytes + bytes % 2;
}

// One scan line's plane bytes as run-length data; runs never cross lines.
inline void appendRuns(std::string& out, const std::vector<uint8_t>& line) {
    for (size_t i = 0; i < line.size();) {
        size_t n = 1;
        while (i + n < line.size() && n < 63 && line[i + n] == line[i]) ++n;
        if (n > 1 || line[i] >= 0xC0) out += static_cast<char>(0xC0 | n);
        out += static_cast<char>(line[i]);
        i += n;
    }
}

inline std::string encodePcx(const PcxPicture& p) {
    std::string out(128, '\0');
    const auto put16 = [&](size_t at, unsigned v) {
        out[at] = static_cast<char>(v & 0xFF);
        out[at + 1] = static_cast<char>(v >> 8);
    };
    const unsigned bpl = pcxBytesPerLine(p);
    out[0] = 10;
    out[1] = static_cast<char>(p.version);
    out[2] = 1;
    out[3] = static_cast<char>(p.bitsPerPixel);
    put16(8, p.width - 1);
    put16(10, p.height - 1);
    put16(12, 72);
    put16(14, 72);
    for (size_t i = 0; i < 48; ++i) out[16 + i] = static_cast<char>(p.header[i]);
    out[65] = static_cast<char>(p.planes);
    put16(66, bpl);
    put16(68, 1);

    const bool direct = p.bitsPerPixel == 8 && p.planes > 1;
    const unsigned mask = (1u << p.bitsPerPixel) - 1;
    for (unsigned y = 0; y < p.height; ++y) {
        std::vector<uint8_t> line(size_t{bpl} * p.planes, 0);
        for (unsigned x = 0; x < p.width; ++x) {
            const uint32_t v = p.pixels[size_t{y} * p.width + x];
            if (x * p.bitsPerPixel / 8 >= bpl) break;  // lines shorter than the width
            for (unsigned plane = 0; plane < p.planes; ++plane) {
                uint8_t* row = line.data() + size_t{plane} * bpl;
                if (direct) {
                    static constexpr unsigned kShift[4] = {16, 8, 0, 24};
                    row[x] = static_cast<uint8_t>(v >> kShift[plane]);
                    continue;
                }
                const unsigned sample = (v >> (plane * p.bitsPerPixel)) & mask;
                const unsigned bit = x * p.bitsPerPixel;
                row[bit / 8] |= static_cast<uint8_t>(sample << (8 - p.bitsPerPixel - bit % 8));
            }
        }
        appendRuns(out, line);
    }
    if (!p.trailer.empty()) {
        out += '\x0C';
        out.append(p.trailer.begin(), p.trailer.end());
    }
    return out;
}

// A picture of the given kind whose pixels walk through every colour.
inline PcxPicture patternPicture(unsigned width, unsigned height, uint8_t bits, uint8_t planes) {
    PcxPicture p;
    p.width = width;
    p.height = height;
    p.bitsPerPixel = bits;
    p.planes = planes;
    for (unsigned i = 0; i < 48; ++i) p.header[i] = static_cast<uint8_t>(i * 37 + 11);
    const bool direct = bits == 8 && planes > 1;
    const unsigned colours = direct ? 0 : 1u << (bits * planes);
    if (bits == 8 && planes == 1) {
        p.trailer.resize(768);
        for (unsigned i = 0; i < 768; ++i) p.trailer[i] = static_cast<uint8_t>(i * 7 + i / 3);
    }
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            const uint32_t n = y * 31 + x * 7 + (x / 3) * (y + 1);
            p.pixels.push_back(direct ? (n * 2654435761u) | (planes == 3 ? 0xFF000000u : 0) : n % colours);
        }
    return p;
}

// A file of each kind, named by its bits and planes.
inline std::vector<std::pair<std::string, std::string>> pcxSampleFiles() {
    static constexpr std::pair<uint8_t, uint8_t> kKinds[] = {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 1},
                                                             {4, 1}, {8, 1}, {8, 3}, {8, 4}};
    std::vector<std::pair<std::string, std::string>> files;
    for (auto [bits, planes] : kKinds) {
        const std::string name = std::to_string(bits) + "bit_" + std::to_string(planes) + "plane";
        files.emplace_back(name + "_13x7.pcx", encodePcx(patternPicture(13, 7, bits, planes)));
        files.emplace_back(name + "_1x1.pcx", encodePcx(patternPicture(1, 1, bits, planes)));
    }
    return files;
}

}  // namespace pixalto::test
