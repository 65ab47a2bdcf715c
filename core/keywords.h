#pragma once
// Numbered keyword vocabularies: option and profile texts become setting codes
// and codes become printed words.
#include <string>
#include <string_view>

namespace pixalto {

enum Vocabulary : int {
    kVocDdsLoadAs = 0,
    kVocRawLoadAs = 1,
    kVocFrameLoading = 2,
    kVocRawToneMapping = 3,
    kVocCompression = 4,
    kVocBmpColorTable = 5,
    kVocColorMode = 6,
    kVocJpgChroma = 7,
    kVocJpgSaveAs = 8,
    kVocRotationType = 9,
    kVocSizeUnit = 10,
    kVocResizeType = 11,
    kVocResizeAlgorithm = 12,
    kVocDitherAlgorithm = 13,
    kVocFrame = 14,
    kVocWatermark = 15,
    kVocFontStyle = 16,
    kVocFontEffect = 17,
    kVocTextAlignment = 18,
    kVocBoundary = 19,
    kVocPosition = 20,
    kVocWatermarkSize = 21,
    kVocFileTimestamp = 22,
    kVocabularyCount = 23
};

// Code of the first keyword equal to the upper-cased text; 0 when none matches
// (or the vocabulary number is unknown).
int parseKeyword(int vocabulary, std::string_view text);

// Lower-case keyword for a code, or "" when the vocabulary has none. For the
// compression vocabulary the output format (extension, any case) picks the family.
std::string keywordFor(int vocabulary, int code, std::string_view outputFormat = {});

}  // namespace pixalto
