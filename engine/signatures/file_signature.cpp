#include "engine/signatures/file_signature.h"

namespace pixalto {

std::string detectFileFormatOfBytes(std::string_view) { return "Unknown"; }
std::string detectFileFormat(const std::string&) { return "Unknown"; }

}  // namespace pixalto
