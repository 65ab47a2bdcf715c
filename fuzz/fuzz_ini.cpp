// The INI reader, and look-ups in what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/ini_file.h"

using namespace pixalto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile ini = parseIni(text);
    for (const IniGroup& group : ini.groups) {
        if (ini.group(group.name) == nullptr) __builtin_trap();  // every group read is found again
        for (const IniEntry& entry : group.entries)
            if (!ini.value(group.name, entry.key)) __builtin_trap();
    }
    (void)ini.value("CLI", "--jpg-quality");
    (void)trimBlanks(text);
    return 0;
}
