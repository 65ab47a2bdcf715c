#pragma once
// The built-in English texts: one ordered sequence of (key, text) pairs. A key
// "_GROUP_" opens a group named by its text, every other pair is an entry of
// the group opened last, and a key "_END_" ends the sequence.
#include <span>

namespace pixalto {

struct LanguagePair {
    const char* key;
    const char* text;
};

std::span<const LanguagePair> builtInLanguageTexts();

}  // namespace pixalto
