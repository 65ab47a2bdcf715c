#pragma once
// Loading a PCX file into a FreeImage bitmap.
#include <string>
#include <string_view>

#include "engine/bitmap.h"

namespace pixalto {

// Loads the file as PCX. Empty when the file is not a PCX picture that can be
// read safely.
Bitmap loadPcx(const std::string& path);

// The same for the bytes of a whole file already in memory.
Bitmap loadPcxFromMemory(std::string_view file);

}  // namespace pixalto
