// Minimal naming until the placeholders are implemented: "name.ext".
#include "engine/naming/filename_mask.h"

#include "platform/paths.h"

namespace pixalto {

std::string expandFilenameMask(const ConversionJob& job, const ConversionSettings&) {
    std::string name = filePart(job.inputPath);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name + "." + job.outputExtension;
}

std::string expandWatermarkText(const ConversionJob&, const ConversionSettings& settings) { return settings.wmText; }

std::string makeTempName() { return "pixtemp"; }

}  // namespace pixalto
