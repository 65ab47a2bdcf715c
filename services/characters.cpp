#include "services/characters.h"

namespace pixalto {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

size_t characterCount(std::string_view utf8) {
    size_t count = 0;
    for (size_t i = 0; i < utf8.size(); ++i)
        if (i == 0 || !isContinuationByte(utf8[i])) ++count;
    return count;
}

std::string_view firstCharacters(std::string_view utf8, size_t n) {
    size_t seen = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (i == 0 || !isContinuationByte(utf8[i])) {
            if (seen == n) return utf8.substr(0, i);
            ++seen;
        }
    }
    return utf8;
}

std::string_view lastCharacters(std::string_view utf8, size_t n) {
    const size_t total = characterCount(utf8);
    if (n >= total) return utf8;
    const std::string_view head = firstCharacters(utf8, total - n);
    return utf8.substr(head.size());
}

}  // namespace pixalto
