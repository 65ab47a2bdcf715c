#include "engine/naming/text_case.h"

#include <QChar>
#include <QString>
#include <QStringDecoder>

namespace pixalto {

namespace {

// A leading byte-order mark is text like any other here: it is kept.
QString toQString(std::string_view text) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string toStdString(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
    return toStdString(toQString(text).toUpper());
}

std::string lowerText(std::string_view text) {
    if (!isValidUtf8(text)) return mapAscii(text, false, false);
    return toStdString(toQString(text).toLower());
}

std::string titleText(std::string_view text) {
    if (text.empty()) return {};
    if (!isValidUtf8(text)) return mapAscii(text, true, false);
    const QString all = toQString(text);
    // The first character may be a surrogate pair.
    const bool pair = all.size() > 1 && all.at(0).isHighSurrogate() && all.at(1).isLowSurrogate();
    const char32_t first = pair ? QChar::surrogateToUcs4(all.at(0), all.at(1)) : all.at(0).unicode();
    const char32_t titled = QChar::toTitleCase(first);
    const QChar units[2] = {QChar(QChar::highSurrogate(titled)), QChar(QChar::lowSurrogate(titled))};
    const QString head = QChar::requiresSurrogates(titled) ? QString(units, 2) : QString(QChar(titled));
    return toStdString(head + all.sliced(pair ? 2 : 1).toLower());
}

}  // namespace pixalto
