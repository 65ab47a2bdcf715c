// File kind detection from a file's first bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/signatures/file_signature.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view head(reinterpret_cast<const char*>(data), size);
    if (pixalto::detectFileFormatOfBytes(head).empty()) __builtin_trap();  // always names a kind
    return 0;
}
