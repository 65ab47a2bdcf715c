#include "engine/pcx/pcx_loader.h"

#include "engine/pcx/pcx_header.h"
#include "engine/pcx/pcx_layouts.h"
#include "engine/pcx/pcx_reader.h"
#include "platform/files.h"

namespace pixalto {

namespace {

// Largest file read; a 24-bit picture of kPcxMaxPixels pixels is 768 MiB decoded.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

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

    // FreeImage only reads from the memory it is given.
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(const_cast<char*>(file.data())),
                                            static_cast<DWORD>(file.size()));
    if (!memory) return {};
    Bitmap bitmap(FreeImage_LoadFromMemory(FIF_PCX, memory, 0));
    FreeImage_CloseMemory(memory);
    if (bitmap && bitmap.width() == header.width && bitmap.height() == header.height) return bitmap;
    return decodePcx(file, header);
}

Bitmap loadPcx(const std::string& path) {
    std::string file;
    if (!readWholeFile(path, file, kMaxFileBytes)) return {};
    return loadPcxFromMemory(file);
}

}  // namespace pixalto
