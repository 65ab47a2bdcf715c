#include "core/keywords.h"

#include <gtest/gtest.h>

namespace pixalto {
namespace {

TEST(Keywords, ParseIsCaseInsensitiveAndTakesFirstMatch) {
    EXPECT_EQ(parseKeyword(kVocRawLoadAs, "48HS"), 4);
    EXPECT_EQ(parseKeyword(kVocRawLoadAs, "48hs"), 4);
    EXPECT_EQ(parseKeyword(kVocRawLoadAs, "48"), 5);
    EXPECT_EQ(parseKeyword(kVocCompression, "zip"), 1);
    EXPECT_EQ(parseKeyword(kVocCompression, "LZW"), 6);
    EXPECT_EQ(parseKeyword(kVocPosition, "middleCenter"), 4);
    EXPECT_EQ(parseKeyword(kVocFileTimestamp, "custom"), 2);
}

TEST(Keywords, UnknownOrEmptyTextGivesZero) {
    for (int v = 0; v < kVocabularyCount; ++v) {
        EXPECT_EQ(parseKeyword(v, ""), 0) << v;
        EXPECT_EQ(parseKeyword(v, "no-such-word"), 0) << v;
    }
    EXPECT_EQ(parseKeyword(kVocWatermarkSize, "FIXED"), 0);
    EXPECT_EQ(parseKeyword(kVocFontEffect, "STRIKETHROUGHT"), 2);
    EXPECT_EQ(parseKeyword(kVocFontEffect, "STRIKETHROUGH"), 0);
    EXPECT_EQ(parseKeyword(99, "AUTO"), 0);
}

TEST(Keywords, KeywordForAnswersInLowerCase) {
    EXPECT_EQ(keywordFor(kVocPosition, 8), "bottomright");
    EXPECT_EQ(keywordFor(kVocWatermark, 2), "image");
    EXPECT_EQ(keywordFor(kVocRawLoadAs, 4), "48hs");
    EXPECT_EQ(keywordFor(kVocJpgChroma, 9), "");
}

TEST(Keywords, CompressionWordsComeFromTheFormatsFamily) {
    EXPECT_EQ(keywordFor(kVocCompression, 4, "tiff"), "deflate");
    EXPECT_EQ(keywordFor(kVocCompression, 1, "png"), "zlib1");
    EXPECT_EQ(keywordFor(kVocCompression, 1, "tga"), "rle");
    EXPECT_EQ(keywordFor(kVocCompression, 4, "exr"), "b44");
    EXPECT_EQ(keywordFor(kVocCompression, 4, "png"), "");
    EXPECT_EQ(keywordFor(kVocCompression, 1, "jpg"), "");
}

}  // namespace
}  // namespace pixalto
