#include "engine/render/watermark_font.h"

#include <QGuiApplication>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "engine/render/render.h"

namespace pixalto {

namespace {

// Largest pixel size handed to the font engine.
constexpr int kMaxFontPixels = 16383;

std::vector<std::string> familiesOf(const FcPattern* pattern, bool strongOnly) {
    std::vector<std::string> families;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
        if (value.type != FcTypeString) continue;
        if (strongOnly && binding != FcValueBindingStrong) continue;
        families.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
    return families;
}

bool sameFamily(const std::string& a, const std::string& b) {
    return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(a.c_str()),
                              reinterpret_cast<const FcChar8*>(b.c_str())) == 0;
}

// After substitution the requested family and the aliases configured for it
// are bound strongly; the generic families appended as a last resort are
// bound weakly. The match counts only when it is one of the strong ones.
std::string matchFamily(const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return {};
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    const std::vector<std::string> wanted = familiesOf(pattern, true);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string resolved;
    if (match) {
        for (const std::string& found : familiesOf(match, false)) {
            const bool accepted = std::any_of(wanted.begin(), wanted.end(),
                                              [&](const std::string& w) { return sameFamily(w, found); });
            if (accepted) {
                resolved = found;
                break;
            }
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return resolved;
}

QGuiApplication* guiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

}  // namespace

std::string resolveFontFamily(const std::string& family) {
    static std::mutex lock;
    static std::map<std::string, std::string> known;
    {
        std::lock_guard guard(lock);
        if (auto it = known.find(family); it != known.end()) return it->second;
    }
    std::string resolved = matchFamily(family);
    std::lock_guard guard(lock);
    known.emplace(family, resolved);
    return resolved;
}

int fontPixelSize(int points) {
    const long long pixels = (static_cast<long long>(points) * 96 + 36) / 72;
    return static_cast<int>(std::clamp<long long>(pixels, 1, kMaxFontPixels));
}

bool ensureGuiApplication() {
    if (guiApplication()) return true;
    if (QCoreApplication::instance()) return false;
    // The console has no display: the application is made on the offscreen
    // platform. The environment and the C locale (which Qt sets from the
    // system's) are given back as they were, so console output is unchanged.
    const char* previous = std::getenv("QT_QPA_PLATFORM");
    const std::string saved = previous ? previous : "";
    const char* locale = std::setlocale(LC_ALL, nullptr);
    const std::string savedLocale = locale ? locale : "C";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The console prints only its own lines: Qt's notes about its runtime
    // folder and the like are dropped; its fatal messages still end the process.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            std::abort();
        }
    });
    static int argc = 1;
    static char name[] = "pixalto";
    static char* argv[] = {name, nullptr};
    // Lives to the end of the process: fonts and text drawing rely on it.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    if (previous)
        setenv("QT_QPA_PLATFORM", saved.c_str(), 1);
    else
        unsetenv("QT_QPA_PLATFORM");
    std::setlocale(LC_ALL, savedLocale.c_str());
    return application != nullptr && guiApplication() != nullptr;
}

std::optional<QFont> watermarkFont(const ConversionSettings& settings) {
    if (!guiApplication()) return std::nullopt;
    const std::string family = resolveFontFamily(settings.wmFont);
    if (family.empty()) return std::nullopt;
    QFont font(QString::fromStdString(family));
    font.setPixelSize(fontPixelSize(settings.wmFontSize));
    const FontAttributes attributes = fontAttributesFor(settings.wmFontStyle, settings.wmFontEffect);
    font.setBold(attributes.bold);
    font.setItalic(attributes.italic);
    font.setUnderline(attributes.underline);
    font.setStrikeOut(attributes.strikeOut);
    return font;
}

bool prepareWatermarkFont(const ConversionSettings& settings) {
    if (resolveFontFamily(settings.wmFont).empty()) return false;
    if (settings.doWatermark != 1) return true;
    return ensureGuiApplication();
}

}  // namespace pixalto
