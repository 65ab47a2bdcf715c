// Writes the seed inputs of the fuzz targets: FOLDER/NAME/... for each target.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/setting_options.h"
#include "config/settings_file.h"
#include "tests/engine/pcx_samples.h"

namespace fs = std::filesystem;

namespace {

using Seeds = std::vector<std::pair<std::string, std::string>>;

std::string utf16le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += {c, '\0'};
    return out;
}

std::string utf16be(const std::string& ascii) {
    std::string out = "\xFE\xFF";
    for (char c : ascii) out += {'\0', c};
    return out;
}

std::string utf32le(const std::string& ascii) {
    std::string out("\xFF\xFE\0\0", 4);
    for (char c : ascii) out += {c, '\0', '\0', '\0'};
    return out;
}

Seeds pcxSeeds() {
    Seeds seeds = pixalto::test::pcxSampleFiles();
    pixalto::test::PcxPicture cga = pixalto::test::patternPicture(9, 4, 2, 1);
    cga.header.fill(0);
    cga.header[0] = 0x13;
    cga.header[3] = 0xA4;
    cga.header[4] = 0xFF;
    seeds.emplace_back("cga_description.pcx", pixalto::test::encodePcx(cga));
    pixalto::test::PcxPicture shortLines = pixalto::test::patternPicture(30, 3, 8, 1);
    shortLines.bytesPerLine = 6;
    seeds.emplace_back("short_lines.pcx", pixalto::test::encodePcx(shortLines));
    return seeds;
}

Seeds iniSeeds() {
    return {
        {"groups.ini", "[General]\nLanguage=English\n; comment\n# comment\n[CLI]\n--jpg-quality = 90\n"},
        {"bom_crlf.ini", "\xEF\xBB\xBF[CLI]\r\n--width=50\r\n--width-unit=percent\r\n\r\n"},
        {"duplicates.ini", "[a]\nk=1\nK=2\n[A]\nk=3\n[b]\n\tkey\t=\t value with blanks \t\n"},
        {"odd.ini", "no group=1\n[unclosed\n=empty key\nkey without value\n[]\n[ spaced ]\nx==y\n"},
    };
}

Seeds signatureSeeds() {
    return {
        {"png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)},
        {"jpeg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11)},
        {"gif", "GIF89a\x01\0\x01\0"},
        {"bmp", std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14)},
        {"tiff_le", std::string("II*\0\x08\0\0\0", 8)},
        {"tiff_be", std::string("MM\0*\0\0\0\x08", 8)},
        {"pcx", pixalto::test::encodePcx(pixalto::test::patternPicture(2, 2, 8, 3)).substr(0, 20)},
        {"zip", std::string("PK\x03\x04\x14\0\0\0", 8)},
        {"pdf", "%PDF-1.7\n"},
        {"text", "hello world, nothing special here"},
    };
}

Seeds listSeeds() {
    const std::string lines = "/a.pcx\n/sub/c.PCX\r\n  /b.txt  \n/sub\n/missing.pcx\n\n/sub/deeper/\n";
    return {
        {"plain.txt", lines},
        {"bom.txt", "\xEF\xBB\xBF" + lines},
        {"utf16le.lst", utf16le(lines)},
        {"utf16be.lst", utf16be(lines)},
        {"utf32le.lst", utf32le(lines)},
        {"no_final_newline.txt", "/a.pcx"},
        {"long_line.txt", std::string(17000, 'x') + "\n/a.pcx\n"},
    };
}

// Every setting option once, with a value that suits its kind.
std::string settingOptionLines(const std::string& separator, bool profileKeys) {
    std::string text;
    for (const pixalto::SettingOption& o : pixalto::settingOptions()) {
        std::string value = "1";
        if (o.kind == pixalto::OptionKind::Decimal) value = "1.5";
        if (o.kind == pixalto::OptionKind::Text) value = "\"some text\"";
        const std::string name(profileKeys && !o.profileKey.empty() ? o.profileKey : o.name);
        text += name + (o.kind == pixalto::OptionKind::Switch && !profileKeys ? "" : "=" + value) + separator;
    }
    return text;
}

Seeds optionSeeds() {
    return {
        {"convert", "-i\n/tmp/pics/\n-o\n/tmp/out\n-c\npng\n--width=50\n--width-unit=percent\n-q"},
        {"quoted", "--input=\"/tmp/two\n words/\"\n--jpg-quality=$5F\n--gamma= 1.25 \n-d"},
        {"profile", "-i\nx.pcx\n--profile=/nonexistent.ini\n-p"},
        {"every_setting", "-i\nx.pcx\n" + settingOptionLines("\n", false)},
    };
}

Seeds profileSeeds() {
    return {
        {"every_setting.ini", "\xEF\xBB\xBF[CLI]\r\n" + settingOptionLines("\r\n", true)},
        {"small.ini", "[cli]\n--width = 640\n--height=%1010\n[Other]\n--width=1\n"},
    };
}

Seeds settingsSeeds() {
    const pixalto::ConversionSettings settings;
    const pixalto::GeneralSettings general;
    const std::string full = pixalto::settingsFileText(settings, general);
    return {{"defaults.ini", full}, {"half.ini", full.substr(0, full.size() / 2)}};
}

bool writeSeeds(const fs::path& folder, const Seeds& seeds) {
    fs::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    const bool ok = writeSeeds(root / "pcx", pcxSeeds()) && writeSeeds(root / "ini", iniSeeds()) &&
                    writeSeeds(root / "signature", signatureSeeds()) && writeSeeds(root / "list_file", listSeeds()) && writeSeeds(root / "options", optionSeeds()) &&
                    writeSeeds(root / "profile", profileSeeds()) && writeSeeds(root / "settings", settingsSeeds());
    if (!ok) std::cerr << "fuzz_make_seeds: cannot write below " << root << "\n";
    return ok ? 0 : 1;
}
