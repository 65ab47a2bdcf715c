#pragma once
// Counting and cutting UTF-8 text by characters (code points), so that a cut
// never falls inside a character.
#include <cstddef>
#include <string_view>

namespace pixalto {

// Number of characters; a stray continuation byte belongs to the character before it.
size_t characterCount(std::string_view utf8);
// The first or last n characters (all of the text when it is shorter).
std::string_view firstCharacters(std::string_view utf8, size_t n);
std::string_view lastCharacters(std::string_view utf8, size_t n);

}  // namespace pixalto
