#pragma once
// Lossless JPEG XR encoding with jxrlib. Kept apart from FreeImage's header,
// whose Windows-style type names change the layout of jxrlib's structures.
#include <cstddef>
#include <cstdint>
#include <string>

namespace pixalto {

enum class JxrPixels { Grey8, Bgr24, Bgra32, Rgb48 };

// Writes the picture (rows top first, `stride` bytes apart) to the file at
// path, replacing its contents. False when jxrlib fails.
bool encodeJpegXr(const std::string& path, const uint8_t* pixels, unsigned width, unsigned height, size_t stride,
                  JxrPixels layout);

}  // namespace pixalto
