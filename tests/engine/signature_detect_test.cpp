#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/signatures/file_signature.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

using namespace std::string_literals;

constexpr const char* kUnrecognized = "[ERROR] UNRECOGNIZED";

struct SignatureCase {
    std::string head;
    const char* label;
};

TEST(FileSignature, NamesFilesByTheirFirstBytes) {
    const SignatureCase cases[] = {
        {"\xFF\xD8\xFF\xE1\x12\x34" "Exif\0\0MM"s, "JPEG/EXIF"},
        {"\xFF\xD8\xFF\xE2\x12\x34" "Exif"s, kUnrecognized},
        {"\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01"s, "JPEG/JFIF"},
        {"\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x02"s, kUnrecognized},  // JFIF with another version
        {"\xFF\xD8\xFF\xDB"s, "JPG"},
        {"\xFF\xD8\xFF\xEE"s, "JPEG"},
        {"\x1F\x8B\x08\x00"s, "GZ"},
        {"\xFF\xFB\x90\x64"s, "MP3"},
        {"\xFF\xF3"s, "MP3"},
        {"ID3\x04\x00"s, "MP3/ID3V2"},
        {"II*\x00\x08\x00\x00\x00"s, "TIFF (LE)"},
        {"II*\x00\x10\x00\x00\x00" "CR\x02\x00"s, "CR2"},  // also a little-endian TIFF: the later row wins
        {"MM\x00*"s, "TIFF (BE)"},
        {"Rar!\x1A\x07\x00"s, "RAR (1.5+)"},
        {"Rar!\x1A\x07\x01\x00"s, "RAR (5.0+)"},  // also RAR 1.5+: the later row wins
        {"\x0A\x05\x01\x08"s, kUnrecognized},     // PCX: no row
        {"BM\x36"s, "BMP"},
        {"BMP"s, "BMP"},
        {"BZh9"s, "BZ2"},
        {"BPG\xFB"s, "BPG"},
        {"BLENDER"s, "BLEND"},
        {"GIF87a"s, "GIF87A"},
        {"GIF89a"s, "GIF89A"},
        {"GIF88a"s, kUnrecognized},
        {"\x89PNG\r\n\x1A\n"s, "PNG"},
        {"\x89PNG\r\n\x1A"s, kUnrecognized},  // the missing byte counts as zero
        {"%PDF-1.7"s, "PDF"},
        {"%!PS-Adobe"s, "PS"},
        {"PK\x03\x04"s, "ZIP"},
        {"PK\x05\x06"s, "ZIP (E)"},
        {"P6\n"s, kUnrecognized},
        {"P3\n"s, "PPM"},
        {"RIFF\x24\x00\x00\x00WEBPVP8 "s, "WEBP"},
        {"RIFF\x24\x00\x00\x00WAVEfmt "s, "WAV"},
        {"RIFF\x24\x00\x00\x00XXXX"s, kUnrecognized},
        {"NURUIMG"s, "NUI"},
        {"NURUPAL"s, "NUP"},
        {"AT&TFORM\x00\x00\x00\x00" "DJVU"s, "DJVU"},
        {"\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"s, "ASF/WMA/WMV"},
        {"SQLite format 3\0"s, "SQLITE/DB"},
        {"/* XPM */"s, "XPM"},
        {"**ACE**"s, "ACE"},
        {"7z\xBC\xAF\x27\x1C"s, "7Z"},
        {"8BPS"s, "PSD"},
        {"v/1\x01"s, "EXR"},
        {"{\\rtf1"s, "RTF"},
        {"\xCA\xFE\xBA\xBE"s, "CLASS"},
        {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s, "DOC/XLS/PPT"},
        {"\xFD" "7zXZ\x00"s, "XZ"},
        {"\x00\x00\x01\x00\x01\x00"s, "ICO"},
        {"\x00\x00\x01\xBA"s, "MPG/VOB"},
        {"\x00\x00\x01"s, "ICO"},  // three bytes, the fourth counts as zero
        {"MZ\x90\x00"s, "EXE/DLL (MZ/PE/NE)"},
        {"ftyp3gp4"s, "3GP"},
        {"fLaC"s, "FLAC"},
        {"FWS"s, "SWF"},
        {"CWS"s, "SWF"},
        {"FLV\x01"s, "FLV"},
        {"FLIF"s, "FLIF"},
        {""s, kUnrecognized},
        {"\x00"s, kUnrecognized},
        {"xyz"s, kUnrecognized},
    };
    for (const SignatureCase& c : cases)
        EXPECT_EQ(detectFileFormatOfBytes(c.head), c.label) << testing::PrintToString(c.head);
}

TEST(FileSignature, OnlyTheFirstTwentyBytesCount) {
    std::string head = "RIFF\x24\x00\x00\x00WEBPVP8 "s;
    head.resize(20, '\0');
    EXPECT_EQ(detectFileFormatOfBytes(head + "anything after"), "WEBP");
}

TEST(FileSignature, ReadsTheStartOfAFile) {
    test::TempDir dir;
    test::writeFile(dir / "picture.pcx", "\x89PNG\r\n\x1A\n"s + std::string(100, 'x'));
    test::writeFile(dir / "short.bin", "BM\x01"s);
    test::writeFile(dir / "empty.bin", "");
    EXPECT_EQ(detectFileFormat((dir / "picture.pcx").string()), "PNG");  // the extension plays no part
    EXPECT_EQ(detectFileFormat((dir / "short.bin").string()), "BMP");
    EXPECT_EQ(detectFileFormat((dir / "empty.bin").string()), kUnrecognized);
    EXPECT_EQ(detectFileFormat((dir / "missing.bin").string()), kUnrecognized);
    EXPECT_EQ(detectFileFormat(dir.str()), kUnrecognized);  // a folder reads as nothing
}

}  // namespace
}  // namespace pixalto
