// The language table: groups of (key, text) entries built from the built-in
// texts, keys stored in upper case and sorted per group, found through a
// per-group index of first characters and a cache of the last group found.
#include "config/language_table.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <utility>
#include <vector>

#include "config/ini_file.h"
#include "config/language_texts.h"

namespace pixalto {

namespace {

constexpr std::string_view kNoStringError = "%NO_STRING_ERROR%";
constexpr std::string_view kGroupKey = "_GROUP_";
constexpr std::string_view kEndKey = "_END_";

struct LanguageGroup {
    std::string name;  // upper case
    int32_t firstEntry = 0;
    int32_t lastEntry = -1;
    std::array<int32_t, 256> firstCharIndex{};  // entry number of the first key per first character, or 0
};

struct LanguageTable {
    std::vector<LanguageGroup> groups;  // slot 0 stays empty: group 0 means "not found"
    std::vector<std::string> keys;      // slot 0 unused; entries numbered from 1
    std::vector<std::string> texts;
    // Only the main thread looks texts up; the atomic merely keeps a stray
    // lookup from another thread well defined.
    std::atomic<int32_t> cachedGroup{0};
};

LanguageTable& table() {
    static LanguageTable instance;
    return instance;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

unsigned char firstCode(std::string_view key) { return key.empty() ? 0 : static_cast<unsigned char>(key.front()); }

void applyLanguageFile(LanguageTable& t, const std::string& path) {
    IniFile file;
    if (path.empty() || !readIniFile(path, file)) return;
    for (std::size_t g = 1; g < t.groups.size(); ++g) {
        const LanguageGroup& group = t.groups[g];
        const IniGroup* fileGroup = file.group(group.name);
        if (fileGroup == nullptr) continue;
        for (int32_t i = group.firstEntry; i <= group.lastEntry; ++i)
            if (auto value = fileGroup->value(t.keys[i])) t.texts[i] = std::move(*value);
    }
}

}  // namespace

void loadLanguage(const std::string& languageFile) {
    LanguageTable& t = table();
    const auto pairs = builtInLanguageTexts();

    // Counting pass.
    std::size_t groupCount = 0;
    std::size_t entryCount = 0;
    for (const LanguagePair& pair : pairs) {
        const std::string key = upperAscii(pair.key);
        if (key == kEndKey) break;
        if (key == kGroupKey)
            ++groupCount;
        else
            ++entryCount;
    }
    t.groups.assign(groupCount + 1, LanguageGroup{});
    t.keys.assign(entryCount + 1, std::string{});
    t.texts.assign(entryCount + 1, std::string{});
    t.cachedGroup = 0;

    // Filling pass: each entry keeps its text beside its key through the sort.
    std::vector<std::pair<std::string, std::string>> entries(entryCount + 1);
    int32_t g = 0;
    int32_t n = 0;
    for (const LanguagePair& pair : pairs) {
        std::string key = upperAscii(pair.key);
        if (key == kEndKey) break;
        if (key == kGroupKey) {
            t.groups[g].lastEntry = n;
            ++g;
            t.groups[g].name = upperAscii(pair.text);
            t.groups[g].firstEntry = n + 1;
            t.groups[g].firstCharIndex.fill(0);
            continue;
        }
        ++n;
        entries[n] = {std::move(key), pair.text};
    }
    t.groups[g].lastEntry = n;
    t.groups[0] = LanguageGroup{};

    // Sort each group by key in ordinal byte order (a key that is the prefix of
    // another sorts first) and index the first entry of every first character.
    for (std::size_t gi = 1; gi < t.groups.size(); ++gi) {
        LanguageGroup& group = t.groups[gi];
        if (group.firstEntry > group.lastEntry) continue;
        std::sort(entries.begin() + group.firstEntry, entries.begin() + group.lastEntry + 1);
        unsigned char previous = 0;
        for (int32_t i = group.firstEntry; i <= group.lastEntry; ++i) {
            t.keys[i] = std::move(entries[i].first);
            t.texts[i] = std::move(entries[i].second);
            const unsigned char first = firstCode(t.keys[i]);
            if (first != previous) {
                group.firstCharIndex[first] = i;
                previous = first;
            }
        }
    }

    applyLanguageFile(t, languageFile);
}

std::string languageText(std::string_view group, std::string_view key) {
    LanguageTable& t = table();
    const std::string groupName = upperAscii(group);
    const std::string keyName = upperAscii(key);

    int32_t g = t.cachedGroup.load(std::memory_order_relaxed);
    if (g < 0 || static_cast<std::size_t>(g) >= t.groups.size() || t.groups[g].name != groupName) {
        g = 0;
        for (std::size_t i = 1; i < t.groups.size(); ++i) {
            if (t.groups[i].name == groupName) {
                g = static_cast<int32_t>(i);
                break;
            }
        }
        t.cachedGroup.store(g, std::memory_order_relaxed);
    }
    if (g == 0) return std::string(kNoStringError);

    const LanguageGroup& found = t.groups[g];
    for (int32_t i = found.firstCharIndex[firstCode(keyName)]; i != 0 && i <= found.lastEntry; ++i) {
        const int order = keyName.compare(t.keys[i]);
        if (order == 0) return t.texts[i];
        if (order < 0) break;
    }
    return std::string(kNoStringError);
}

std::string fillPlaceholders(std::string text, std::string_view s1, std::string_view s2, std::string_view s3,
                             std::string_view s4) {
    if (text.empty()) return text;
    const std::string_view arguments[] = {s1, s2, s3, s4};
    for (int k = 0; k < 4; ++k) {
        const std::string_view value = arguments[k];
        if (value.empty()) continue;
        const char digit = static_cast<char>('1' + k);
        // "%s1%" in either case of the letter; the search resumes after each
        // replacement, so a value that holds its own placeholder is kept as it is.
        std::size_t pos = 0;
        while (pos + 4 <= text.size()) {
            if (text[pos] == '%' && (text[pos + 1] == 's' || text[pos + 1] == 'S') && text[pos + 2] == digit &&
                text[pos + 3] == '%') {
                text.replace(pos, 4, value);
                pos += value.size();
            } else {
                ++pos;
            }
        }
    }
    return text;
}

}  // namespace pixalto
