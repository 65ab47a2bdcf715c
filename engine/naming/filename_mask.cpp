#include "engine/naming/filename_mask.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "engine/naming/text_case.h"
#include "platform/dates.h"
#include "platform/paths.h"

namespace pixalto {

namespace {

constexpr std::string_view kDefaultMask = "%filename%.%ext%";

// What the placeholders are filled from: the job's current file and the
// moment of conversion (local broken-down time).
struct NamingFacts {
    const ConversionJob& job;
    std::string baseName;  // input file name without folder and extension
    std::tm moment{};
};

std::string twoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// At least five digits, zero-filled; a longer number keeps all its digits so
// that counters past 99999 still give distinct names.
std::string fiveDigits(int32_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%05d", static_cast<int>(value));
    return buffer;
}

struct Placeholder {
    std::string_view text;  // lower case
    std::string (*value)(const NamingFacts&);
};

constexpr std::array<Placeholder, 19> kPlaceholders = {{
    {"%filename%", [](const NamingFacts& f) { return f.baseName; }},
    {"%filename[u]%", [](const NamingFacts& f) { return upperText(f.baseName); }},
    {"%filename[l]%", [](const NamingFacts& f) { return lowerText(f.baseName); }},
    {"%filename[t]%", [](const NamingFacts& f) { return titleText(f.baseName); }},
    {"%ext%", [](const NamingFacts& f) { return f.job.outputExtension; }},
    {"%ext[u]%", [](const NamingFacts& f) { return upperText(f.job.outputExtension); }},
    {"%ext[t]%", [](const NamingFacts& f) { return titleText(f.job.outputExtension); }},
    {"%yyyy%",
     [](const NamingFacts& f) {
         char buffer[16];
         std::snprintf(buffer, sizeof buffer, "%04d", f.moment.tm_year + 1900);
         return std::string(buffer);
     }},
    {"%mm%", [](const NamingFacts& f) { return twoDigits(f.moment.tm_mon + 1); }},
    {"%dd%", [](const NamingFacts& f) { return twoDigits(f.moment.tm_mday); }},
    {"%hh%", [](const NamingFacts& f) { return twoDigits(f.moment.tm_hour); }},
    {"%ii%", [](const NamingFacts& f) { return twoDigits(f.moment.tm_min); }},
    {"%ss%", [](const NamingFacts& f) { return twoDigits(f.moment.tm_sec); }},
    {"%bpp%", [](const NamingFacts& f) { return std::to_string(f.job.targetBitDepth); }},
    {"%width%", [](const NamingFacts& f) { return std::to_string(f.job.resultWidth); }},
    {"%height%", [](const NamingFacts& f) { return std::to_string(f.job.resultHeight); }},
    {"%frame%", [](const NamingFacts& f) { return std::to_string(f.job.frameNumber); }},
    {"%rnd%", [](const NamingFacts& f) { return fiveDigits(f.job.randomNumber); }},
    {"%n%", [](const NamingFacts& f) { return fiveDigits(f.job.fileCounter); }},
}};

bool equalsAsciiIgnoringCase(std::string_view text, std::size_t at, std::string_view lowerPattern) {
    if (at + lowerPattern.size() > text.size()) return false;
    for (std::size_t k = 0; k < lowerPattern.size(); ++k) {
        char c = text[at + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerPattern[k]) return false;
    }
    return true;
}

std::size_t findIgnoringCase(std::string_view text, std::string_view lowerPattern, std::size_t from = 0) {
    for (std::size_t at = from; at + lowerPattern.size() <= text.size(); ++at)
        if (equalsAsciiIgnoringCase(text, at, lowerPattern)) return at;
    return std::string_view::npos;
}

std::string baseNameOf(const std::string& inputPath) {
    std::string name = filePart(inputPath);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

NamingFacts factsFor(const ConversionJob& job, int64_t localNow) {
    NamingFacts facts{job, baseNameOf(job.inputPath)};
    // A local date value read as UTC gives the local clock's fields.
    const std::time_t t = static_cast<std::time_t>(localNow);
    gmtime_r(&t, &facts.moment);
    return facts;
}

// Replaces the placeholders in table order. The text is kept as pieces: the
// literal pieces are searched, the replacements are not, so a value that
// happens to contain a placeholder's text is never expanded itself.
std::string expandPlaceholders(std::string_view text, const NamingFacts& facts) {
    struct Piece {
        std::string text;
        bool literal;
    };
    std::vector<Piece> pieces{{std::string(text), true}};
    for (const Placeholder& placeholder : kPlaceholders) {
        std::optional<std::string> value;
        std::vector<Piece> next;
        for (Piece& piece : pieces) {
            if (!piece.literal) {
                next.push_back(std::move(piece));
                continue;
            }
            std::size_t start = 0;
            for (std::size_t at = findIgnoringCase(piece.text, placeholder.text); at != std::string::npos;
                 at = findIgnoringCase(piece.text, placeholder.text, start)) {
                if (!value) value = placeholder.value(facts);
                if (at > start) next.push_back({piece.text.substr(start, at - start), true});
                next.push_back({*value, false});
                start = at + placeholder.text.size();
            }
            if (start < piece.text.size()) next.push_back({piece.text.substr(start), true});
        }
        pieces = std::move(next);
    }
    std::string out;
    for (const Piece& piece : pieces) out += piece.text;
    return out;
}

}  // namespace

std::string expandFilenameMask(const ConversionJob& job, const ConversionSettings& settings, int64_t localNow) {
    // Literal text of the mask comes out in lower case.
    std::string mask = lowerText(settings.filenameMask);
    if (mask.empty()) mask = kDefaultMask;
    return expandPlaceholders(mask, factsFor(job, localNow));
}

std::string expandWatermarkText(const ConversionJob& job, const ConversionSettings& settings, int64_t localNow) {
    const std::string& text = settings.wmText;
    if (std::count(text.begin(), text.end(), '%') <= 1) return text;
    return expandPlaceholders(text, factsFor(job, localNow));
}

std::string makeTempName(int64_t localNow) {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> letter(0, 25);
    std::string name = "pixalto";
    for (const char digit : std::to_string(localNow))
        if (digit >= '0' && digit <= '9') name += static_cast<char>('a' + (digit - '0'));
    for (int i = 0; i < 5; ++i) name += static_cast<char>('a' + letter(generator));
    return name;
}

std::string expandFilenameMask(const ConversionJob& job, const ConversionSettings& settings) {
    return expandFilenameMask(job, settings, localDateValueNow());
}

std::string expandWatermarkText(const ConversionJob& job, const ConversionSettings& settings) {
    return expandWatermarkText(job, settings, localDateValueNow());
}

std::string makeTempName() { return makeTempName(localDateValueNow()); }

bool maskDependsOnFileOrder(const std::string& mask) {
    for (const std::string_view orderDependent : {"%n%", "%rnd%", "%bpp%"})
        if (findIgnoringCase(mask, orderDependent) != std::string_view::npos) return true;
    return false;
}

}  // namespace pixalto
