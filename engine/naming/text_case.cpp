#include "engine/naming/text_case.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace pixalto {

namespace {

// Callers check that the text is valid UTF-8 first. A leading byte-order
// mark is text like any other here: it is kept.
std::u16string toUtf16(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    std::u16string out(static_cast<size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status) ? out : std::u16string();
}

std::string toUtf8(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strToUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    std::string out(static_cast<size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status) ? out : std::string();
}

// Full case mapping of the root locale (the same in every locale of the
// machine); a mapping may change the length (ß gives SS).
using CaseMapping = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

std::u16string mapCase(std::u16string_view text, CaseMapping mapping) {
    UErrorCode status = U_ZERO_ERROR;
    const auto length = static_cast<int32_t>(text.size());
    const int32_t needed = mapping(nullptr, 0, text.data(), length, "", &status);
    std::u16string out(static_cast<size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    mapping(out.data(), needed, text.data(), length, "", &status);
    return U_SUCCESS(status) ? out : std::u16string(text);
}

char asciiCase(char c, bool upper) {
    if (upper && c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

// ASCII letters only: the first byte to firstUpper's case, the rest to restUpper's.
std::string mapAscii(std::string_view text, bool firstUpper, bool restUpper) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = asciiCase(out[i], i == 0 ? firstUpper : restUpper);
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t cp;
        char32_t minimum;
        if ((b0 & 0xE0) == 0xC0) {
            length = 2, cp = b0 & 0x1F, minimum = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            length = 3, cp = b0 & 0x0F, minimum = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            length = 4, cp = b0 & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::string upperText(std::string_view text) {
    if (!isValidUtf8(text)) return mapAscii(text, true, true);
    return toUtf8(mapCase(toUtf16(text), u_strToUpper));
}

std::string lowerText(std::string_view text) {
    if (!isValidUtf8(text)) return mapAscii(text, false, false);
    return toUtf8(mapCase(toUtf16(text), u_strToLower));
}

std::string titleText(std::string_view text) {
    if (text.empty()) return {};
    if (!isValidUtf8(text)) return mapAscii(text, true, false);
    const std::u16string all = toUtf16(text);
    // The first character may be a surrogate pair.
    int32_t rest = 0;
    UChar32 first;
    U16_NEXT(all.data(), rest, static_cast<int32_t>(all.size()), first);
    std::u16string head(2, u'\0');
    int32_t headLength = 0;
    U16_APPEND_UNSAFE(head.data(), headLength, u_totitle(first));  // room for a pair
    head.resize(static_cast<size_t>(headLength));
    return toUtf8(head + mapCase(std::u16string_view(all).substr(static_cast<size_t>(rest)), u_strToLower));
}

}  // namespace pixalto
