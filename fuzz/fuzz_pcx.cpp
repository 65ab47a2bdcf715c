// The PCX load path: header checks, FreeImage or our own reader, then a save
// of the picture to memory. Our reader also decodes every accepted header,
// whatever FreeImage makes of it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/pcx/pcx_header.h"
#include "engine/pcx/pcx_loader.h"
#include "engine/pcx/pcx_reader.h"

using namespace pixalto;

namespace {

void saveToMemory(const Bitmap& bitmap) {
    if (!bitmap) return;
    FIMEMORY* out = FreeImage_OpenMemory();
    FreeImage_SaveToMemory(FIF_BMP, bitmap.get(), out, 0);
    FreeImage_CloseMemory(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    saveToMemory(loadPcxFromMemory(file));
    PcxHeader header;
    if (readPcxHeader(file, header)) saveToMemory(decodePcx(file, header));
    return 0;
}
