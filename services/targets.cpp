#include "services/targets.h"

#include <cstdlib>

#include "config/language_table.h"
#include "core/conversion_settings.h"
#include "engine/naming/text_case.h"
#include "services/characters.h"

namespace pixalto {

namespace {

constexpr size_t kSearchExtensionCharacters = 12;

bool isAsciiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string manualTarget() { return "pixalto.chm"; }
std::string makerSiteTarget() { return kMakerSite; }
std::string homepageTarget() { return std::string(kMakerSite) + "pixalto/"; }
std::string uninstallPageTarget() { return std::string(kMakerSite) + "uninstall/pixalto/"; }
std::string supportMailTarget() { return std::string("mailto:") + kSupportAddress; }

std::string feedbackMailTarget() {
    return supportMailTarget() + "?subject=" + kProductTitle + " Feedback";
}

std::string converterSearchTarget(std::string_view from, std::string_view to) {
    return std::string(kMakerSite) + "find/" + std::string(from) + "-" + std::string(to) + "/";
}

std::string updateDataUrl() {
    const char* overridden = std::getenv(kUpdateUrlVariable);
    return overridden != nullptr ? overridden : kUpdateDataUrl;
}

std::string normaliseSearchExtension(std::string_view text) {
    const std::string lower = lowerText(text);
    std::string out;
    for (const char c : firstCharacters(lower, kSearchExtensionCharacters))
        if (isAsciiLetterOrDigit(c)) out.push_back(c);
    return out;
}

bool runConverterSearch(std::string_view from, std::string_view to, MessageBoxes& boxes, TargetOpener& opener) {
    const std::string source = normaliseSearchExtension(from);
    const std::string target = normaliseSearchExtension(to);
    if (source.empty() || target.empty()) {
        boxes.showWarning(languageText("Msg", "Empty extensions"));
        return false;
    }
    opener.openTarget(converterSearchTarget(source, target));
    return true;
}

}  // namespace pixalto
