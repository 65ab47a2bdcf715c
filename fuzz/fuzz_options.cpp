// The option scanner: the input's lines are the command-line parameters.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/command_line.h"
#include "core/conversion_settings.h"

using namespace pixalto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Parameters params;
    std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= text.size() && params.size() < 256;) {
        const size_t end = std::min(text.find('\n', start), text.size());
        params.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    ConversionSettings settings;
    ConversionJob job;
    (void)firstRequest(params);
    (void)scanCommandLine(params, settings, job);
    return 0;
}
