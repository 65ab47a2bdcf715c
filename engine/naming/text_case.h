#pragma once
// Letter case of user texts (file names, masks, watermark texts) in UTF-8.
// Valid UTF-8 gets the full Unicode case mapping, independent of the locale;
// a text that is not valid UTF-8 (a Linux file name may hold any bytes) has
// only its ASCII letters mapped and every other byte kept as it is.
// All functions are thread-safe.
#include <string>
#include <string_view>

namespace pixalto {

std::string upperText(std::string_view text);
std::string lowerText(std::string_view text);
// First character in title case (upper case for ordinary letters), the rest in lower case.
std::string titleText(std::string_view text);

bool isValidUtf8(std::string_view text);

}  // namespace pixalto
