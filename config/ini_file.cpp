#include "config/ini_file.h"

#include <cctype>

#include "platform/files.h"

namespace pixalto {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<std::string> IniGroup::value(std::string_view key) const {
    for (const IniEntry& e : entries)
        if (equalsIgnoringCase(e.key, key)) return e.value;
    return std::nullopt;
}

const IniGroup* IniFile::group(std::string_view name) const {
    for (const IniGroup& g : groups)
        if (equalsIgnoringCase(g.name, name)) return &g;
    return nullptr;
}

std::optional<std::string> IniFile::value(std::string_view groupName, std::string_view key) const {
    const IniGroup* g = group(groupName);
    return g ? g->value(key) : std::nullopt;
}

IniFile parseIni(std::string_view text) {
    IniFile ini;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    IniGroup* current = nullptr;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            const std::string_view name =
                trimBlanks(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            current = nullptr;
            for (IniGroup& g : ini.groups)
                if (equalsIgnoringCase(g.name, name)) current = &g;
            if (!current) {
                ini.groups.push_back({std::string(name), {}});
                current = &ini.groups.back();
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        const std::string_view key = trimBlanks(line.substr(0, eq));
        if (key.empty()) continue;
        current->entries.push_back({std::string(key), std::string(trimBlanks(line.substr(eq + 1)))});
    }
    return ini;
}

bool readIniFile(const std::string& path, IniFile& out) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return false;
    out = parseIni(bytes);
    return true;
}

}  // namespace pixalto
