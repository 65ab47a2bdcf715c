#pragma once
// Names a file's kind from its first bytes (debug output of the worker).
#include <string>
#include <string_view>

namespace pixalto {

// The kind's label ("PNG", "TIFF (LE)", ...), or "[ERROR] UNRECOGNIZED" for a
// file that cannot be read, an empty file or an unknown signature. Reads at
// most the first 20 bytes.
std::string detectFileFormat(const std::string& path);
// The same for bytes already read (the first bytes of a file).
std::string detectFileFormatOfBytes(std::string_view head);

}  // namespace pixalto
