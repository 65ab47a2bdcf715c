#include "engine/pcx/pcx_loader.h"

namespace pixalto {

Bitmap loadPcx(const std::string& path) { return Bitmap(FreeImage_Load(FIF_PCX, path.c_str(), 0)); }

}  // namespace pixalto
