#pragma once
// The built-in description of what the converter reads and writes.
#include <string>
#include <string_view>
#include <vector>

namespace pixalto {

enum class Writer { FreeImage, DevIL };

struct OutputFormat {
    const char* extension;
    int formatId;  // FreeImage format number, or the DevIL type for psd, dds and pcx
    Writer writer;
    const char* description;
    const char* allowedDepths;  // comma-separated, ascending
};

struct InputKind {
    const char* extension;
    const char* group;
    const char* description;
};

// The 23 output formats in list order ("bmp" first).
const std::vector<OutputFormat>& outputFormats();
// The 79 input kinds in table order.
const std::vector<InputKind>& inputKinds();

const std::vector<std::string>& outputExtensions();
const std::vector<std::string>& inputExtensions();

const OutputFormat* findOutputFormat(std::string_view extension);
const InputKind* findInputKind(std::string_view extension);

// Every input-table extension whose group is an enabled input kind.
std::vector<std::string> acceptedInputExtensions();

// The numbers of allowedDepths.
std::vector<int> allowedDepthList(std::string_view extension);
// 0 (automatic) is always valid; otherwise the depth must be one of allowedDepths.
bool isBitDepthAllowed(std::string_view extension, int depth);
// First allowed depth at least the source depth, or the largest.
int chooseAutoBitDepth(std::string_view extension, int sourceDepth);
// "PNG (Portable Network Graphics)".
std::string outputFormatLabel(std::string_view extension);

}  // namespace pixalto
