#include "services/recent_folders.h"

#include <zlib.h>

#include "config/ini_file.h"
#include "core/general_settings.h"
#include "core/run_state.h"
#include "engine/naming/text_case.h"

namespace pixalto {

namespace {

// The first `count` tab-separated fields, blanks removed from both ends.
std::vector<std::string_view> firstFields(std::string_view list, int count) {
    std::vector<std::string_view> fields;
    while (static_cast<int>(fields.size()) < count) {
        const size_t tab = list.find(kRecentFolderSeparator);
        fields.push_back(trimBlanks(list.substr(0, tab)));
        if (tab == std::string_view::npos) break;
        list.remove_prefix(tab + 1);
    }
    return fields;
}

}  // namespace

uint32_t recentFolderIdentity(std::string_view folder) {
    const std::string upper = upperText(folder);
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(upper.data()), static_cast<uInt>(upper.size())));
}

bool pushRecentFolder(std::string& recentOutFolders, int outFoldersNumber, std::string_view folder) {
    if (trimBlanks(folder).empty() || folder.find_first_of("\t\r\n") != std::string_view::npos) return false;
    const uint32_t identity = recentFolderIdentity(folder);
    std::string list(folder);
    int entries = 1;
    for (const std::string_view field : firstFields(recentOutFolders, outFoldersNumber)) {
        if (entries >= outFoldersNumber) break;
        if (field.empty() || recentFolderIdentity(field) == identity) continue;
        list += kRecentFolderSeparator;
        list += field;
        ++entries;
    }
    recentOutFolders = std::move(list);
    return true;
}

bool pushRecentFolder(std::string_view folder) {
    return pushRecentFolder(generalSettings().recentOutFolders, conversionSettings().outFoldersNumber, folder);
}

OutputFolderRefill refillOutputFolders(std::string_view recentOutFolders, int outFoldersNumber,
                                       std::string_view outputFolder) {
    OutputFolderRefill refill;
    if (recentOutFolders.empty()) return refill;
    refill.changed = true;
    for (const std::string_view field : firstFields(recentOutFolders, outFoldersNumber))
        if (!field.empty()) refill.choice.entries.emplace_back(field);
    OutputFolderChoice& choice = refill.choice;
    for (size_t i = 0; i < choice.entries.size() && choice.selected < 0; ++i)
        if (choice.entries[i] == outputFolder) choice.selected = static_cast<int>(i);
    if (choice.selected < 0 && !choice.entries.empty()) choice.selected = 0;
    return refill;
}

void forgetRecentFoldersWithoutHistory() {
    if (conversionSettings().outFoldersHistory == 0) generalSettings().recentOutFolders.clear();
}

}  // namespace pixalto
