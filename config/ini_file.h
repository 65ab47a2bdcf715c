#pragma once
// A small INI reader: "[group]" lines, "key = value" lines, ";" and "#"
// comment lines, CR LF or LF line ends, a UTF-8 byte-order mark skipped.
// Group names and keys match without regard to ASCII letter case; blanks and
// tabs around keys and values are dropped. Of duplicate keys the first counts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixalto {

struct IniEntry {
    std::string key;
    std::string value;
};

struct IniGroup {
    std::string name;
    std::vector<IniEntry> entries;  // in file order, duplicates included
    // Value of the first entry with this key.
    std::optional<std::string> value(std::string_view key) const;
};

struct IniFile {
    std::vector<IniGroup> groups;  // in file order; a repeated group adds to the first
    const IniGroup* group(std::string_view name) const;
    std::optional<std::string> value(std::string_view group, std::string_view key) const;
};

IniFile parseIni(std::string_view text);
// False when the file cannot be opened or read.
bool readIniFile(const std::string& path, IniFile& out);

bool equalsIgnoringCase(std::string_view a, std::string_view b);
std::string_view trimBlanks(std::string_view s);  // blanks and tabs at both ends

}  // namespace pixalto
