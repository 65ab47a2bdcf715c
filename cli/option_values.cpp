#include "cli/option_values.h"

#include <charconv>
#include <cmath>

#include "config/ini_file.h"

namespace pixalto {

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string optionKey(const Parameters& params, size_t i) {
    if (i >= params.size()) return {};
    const std::string_view text = trimBlanks(params[i]);
    if (text.starts_with("--")) return upperAscii(text.substr(0, text.find('=')));
    if (text.starts_with("-")) return upperAscii(text);
    return {};
}

std::string optionValue(const Parameters& params, size_t i) {
    if (i >= params.size()) return {};
    const std::string_view text = trimBlanks(params[i]);
    if (text.starts_with("--")) {
        const size_t eq = text.find('=', 2);
        if (eq != std::string_view::npos) return std::string(text.substr(eq + 1));
    }
    return std::string(text);
}

std::string withoutOuterQuotes(std::string_view text) {
    while (!text.empty() && text.front() == '"') text.remove_prefix(1);
    while (!text.empty() && text.back() == '"') text.remove_suffix(1);
    return std::string(text);
}

namespace {

// A value that opens a double quote without closing it goes on in the
// following parameters, up to and including the one that ends with a quote
// (or up to the last parameter).
void joinQuotedParts(const Parameters& params, size_t& i, std::string& value) {
    if (!value.starts_with('"') || value.ends_with('"')) return;
    while (i + 1 < params.size()) {
        ++i;
        const std::string part = optionValue(params, i);
        value += ' ';
        value += part;
        if (part.ends_with('"')) break;
    }
}

}  // namespace

bool readOptionValue(const Parameters& params, size_t& i, OptionKind kind, std::string& value) {
    value.clear();
    switch (kind) {
    case OptionKind::Switch:
        return true;
    case OptionKind::Path:
    case OptionKind::Extension:
        if (!optionKey(params, i).starts_with("--")) ++i;  // short form: the value follows
        value = optionValue(params, i);
        if (value.empty() || value.front() == '-') return false;
        break;
    case OptionKind::Keyword:
    case OptionKind::Number:
    case OptionKind::Decimal:
    case OptionKind::Text:
        value = optionValue(params, i);
        if (value.empty() || value.starts_with("--")) return false;
        break;
    }
    if (kind == OptionKind::Path || kind == OptionKind::Text) joinQuotedParts(params, i, value);
    if (kind == OptionKind::Path || kind == OptionKind::Extension || kind == OptionKind::Text)
        value = withoutOuterQuotes(value);
    return true;
}

int32_t readNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    unsigned base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos < text.size() && text[pos] == '%') {
        base = 2;
        ++pos;
    }
    // Unsigned arithmetic wraps, which is exactly the truncation to 32 bits.
    uint32_t result = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else break;
        if (digit >= base) break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    return static_cast<int32_t>(result);
}

float readDecimal(std::string_view text) {
    text = trimBlanks(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return 0.0f;
    }
    float result = 0.0f;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(result))
        return 0.0f;
    return result;
}

}  // namespace pixalto
