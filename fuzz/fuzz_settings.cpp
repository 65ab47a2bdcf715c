// The settings-file reader: the input is a settings file; what it read is
// written out again as text.
#include "config/settings_file.h"
#include "fuzz/fuzz_file_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!pixalto::fuzz::writeInputFile(data, size)) return 0;
    pixalto::ConversionSettings settings;
    pixalto::GeneralSettings general;
    (void)pixalto::loadSettingsFrom(pixalto::fuzz::inputFilePath(), settings, general);
    (void)pixalto::settingsFileText(settings, general);
    return 0;
}
