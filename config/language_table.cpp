#include "config/language_table.h"

namespace pixalto {

void loadLanguage(const std::string&) {}
std::string languageText(std::string_view, std::string_view) { return "%NO_STRING_ERROR%"; }
std::string fillPlaceholders(std::string text, std::string_view, std::string_view, std::string_view,
                             std::string_view) {
    return text;
}

}  // namespace pixalto
