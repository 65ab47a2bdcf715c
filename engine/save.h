#pragma once
// Writing the finished picture. Every writer goes through a temporary file in
// the destination folder that is renamed over the output only when the whole
// file was written: a failed save leaves no partial file and leaves an older
// output of the same name untouched.
#include <cstdio>
#include <functional>
#include <string>

#include "engine/bitmap.h"

namespace pixalto {

// Claims tempPath (or, when that name is taken, another ASCII name beside
// outputPath, stored back into tempPath), lets write() fill the open file,
// and renames it to outputPath when write() and every flush and close
// succeeded. On failure the temporary file is removed.
bool writeThroughTempFile(const std::string& outputPath, std::string& tempPath,
                          const std::function<bool(std::FILE*)>& write);

// FreeImage writer of the format.
bool saveWithFreeImage(FIBITMAP* dib, int formatId, int flags, const std::string& outputPath, std::string& tempPath);

// DevIL writer (PSD, DDS, PCX) fed with the picture's BGR or BGRA bits; the
// bitmap is released as soon as DevIL holds its copy. Mipmaps are built for DDS.
bool saveWithDevIL(Bitmap bitmap, int ilType, bool buildMipmaps, const std::string& outputPath,
                   std::string& tempPath);

// Highest palette index used by an 8-bit picture, plus one.
unsigned countUsedColors(FIBITMAP* dib);

// 8-bit BMP whose colour table holds only the used entries.
bool writeCompactPaletteBmp(FIBITMAP* dib, int formatId, int flags, const std::string& outputPath,
                            std::string& tempPath);

}  // namespace pixalto
