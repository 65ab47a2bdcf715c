// The profile reader: the input is a profile file.
#include "cli/setting_options.h"
#include "core/conversion_settings.h"
#include "fuzz/fuzz_file_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!pixalto::fuzz::writeInputFile(data, size)) return 0;
    pixalto::ConversionSettings settings;
    (void)pixalto::loadProfile(pixalto::fuzz::inputFilePath(), settings);
    return 0;
}
