#pragma once
// Every user-visible text, by group and key, with the built-in English texts.
#include <string>
#include <string_view>

namespace pixalto {

// Builds the table from the built-in texts (and an optional language file,
// whose texts replace the built-in ones). Always succeeds; a second call
// builds the table afresh.
void loadLanguage(const std::string& languageFile = {});

// Text of a key in a group, both matched without regard to letter case;
// "%NO_STRING_ERROR%" when the group or key is not in the table.
std::string languageText(std::string_view group, std::string_view key);

// Replaces "%s1%" to "%s4%" (any letter case) by the non-empty arguments, in order.
std::string fillPlaceholders(std::string text, std::string_view s1 = {}, std::string_view s2 = {},
                             std::string_view s3 = {}, std::string_view s4 = {});

}  // namespace pixalto
