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

// A finished output that is not yet in place: its temporary file and the name
// it is to be renamed to.
struct PendingCommit {
    std::string tempPath;
    std::string outputPath;
};

// While a thread defers its commits, writeThroughTempFile leaves a finished
// temporary file where it is and records it in the slot instead of renaming
// it; the caller puts it in place later with commitTempFile. nullptr ends
// the deferral. Lets parallel conversions put their outputs in place in
// file order, after every lock of the save has been released.
void deferCommitsOnThisThread(PendingCommit* slot);

// FreeImage writer of the format.
bool saveWithFreeImage(FIBITMAP* dib, int formatId, int flags, const std::string& outputPath, std::string& tempPath);

// DevIL writer (PSD, DDS, PCX) fed with the picture's BGR or BGRA bits; the
// bitmap is released as soon as DevIL holds its copy. Mipmaps are built for DDS.
bool saveWithDevIL(Bitmap bitmap, int ilType, bool buildMipmaps, const std::string& outputPath,
                   std::string& tempPath);

// JPEG XR, lossless, through jxrlib.
bool saveJpegXr(FIBITMAP* dib, const std::string& outputPath, std::string& tempPath);

// Highest palette index used by an 8-bit picture, plus one.
unsigned countUsedColors(FIBITMAP* dib);

// 8-bit BMP whose colour table holds only the used entries.
bool writeCompactPaletteBmp(FIBITMAP* dib, int formatId, int flags, const std::string& outputPath,
                            std::string& tempPath);

}  // namespace pixalto
