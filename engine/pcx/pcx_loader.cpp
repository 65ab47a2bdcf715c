#include "engine/pcx/pcx_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/pcx/pcx_header.h"
#include "engine/pcx/pcx_layouts.h"
#include "engine/pcx/pcx_reader.h"
#include "platform/files.h"

namespace pixalto {

namespace {

// Largest file read; a 24-bit picture of kPcxMaxPixels pixels is 768 MiB decoded.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

// Reading handle over the file's bytes. FreeImage's own memory stream is
// read a byte at a time at great cost; this one copies whole requests.
struct MemoryReader {
    std::string_view bytes;
    size_t position = 0;
};

unsigned DLL_CALLCONV readBytes(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    auto* r = static_cast<MemoryReader*>(handle);
    if (size == 0) return 0;
    const size_t available = (r->bytes.size() - r->position) / size;
    const size_t items = std::min<size_t>(count, available);
    std::memcpy(buffer, r->bytes.data() + r->position, items * size);
    r->position += items * size;
    return static_cast<unsigned>(items);
}

unsigned DLL_CALLCONV writeNothing(void*, unsigned, unsigned, fi_handle) { return 0; }

int DLL_CALLCONV seekBytes(fi_handle handle, long offset, int origin) {
    auto* r = static_cast<MemoryReader*>(handle);
    const long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<long>(r->position)
                                                                   : static_cast<long>(r->bytes.size());
    const long target = base + offset;
    if (target < 0 || static_cast<size_t>(target) > r->bytes.size()) return -1;
    r->position = static_cast<size_t>(target);
    return 0;
}

long DLL_CALLCONV tellBytes(fi_handle handle) { return static_cast<long>(static_cast<MemoryReader*>(handle)->position); }

}  // namespace

// The header is checked before FreeImage sees any byte, so that FreeImage
// never allocates for an absurd size, and it is given only the kinds it
// decodes correctly, with lines that cover the width. The pictures it
// refuses or is not given go to our own reader.
Bitmap loadPcxFromMemory(std::string_view file) {
    PcxHeader header;
    if (!readPcxHeader(file, header)) return {};
    const PcxLayout* layout = pcxLayoutOf(header.bitsPerPixel, header.planes);
    if (!layout->freeImageReads || !pcxLinesCoverWidth(header)) return decodePcx(file, header);

    FreeImageIO io{readBytes, writeNothing, seekBytes, tellBytes};
    MemoryReader reader{file, 0};
    Bitmap bitmap(FreeImage_LoadFromHandle(FIF_PCX, &io, &reader, 0));
    if (bitmap && bitmap.width() == header.width && bitmap.height() == header.height) return bitmap;
    return decodePcx(file, header);
}

Bitmap loadPcx(const std::string& path) {
    std::string file;
    if (!readWholeFile(path, file, kMaxFileBytes)) return {};
    return loadPcxFromMemory(file);
}

}  // namespace pixalto
