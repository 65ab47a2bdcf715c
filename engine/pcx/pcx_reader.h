#pragma once
// Our own decoder for the PCX pictures that FreeImage's reader refuses:
// 2-bit CGA pictures, 1-bit pictures in 2, 3 or 4 planes, 4-bit pictures in
// one plane, 8-bit RGBA in four planes.
#include <string_view>

#include "engine/bitmap.h"
#include "engine/pcx/pcx_header.h"

namespace pixalto {

// Decodes the whole file whose header readPcxHeader accepted into a bitmap of
// 1, 4 or 8 bits with a palette, or 24 or 32 bits. Missing data at the end of
// a truncated file decodes as index (or colour) 0. Empty only when the bitmap
// cannot be allocated.
Bitmap decodePcx(std::string_view file, const PcxHeader& header);

}  // namespace pixalto
