#include "core/general_settings.h"

#include <atomic>

#include "platform/dates.h"

namespace pixalto {

namespace {

std::atomic<int32_t> screenWidth{0};
std::atomic<int32_t> screenHeight{0};

int32_t centred(int32_t screen, int32_t window) {
    return screen > window ? (screen - window) / 2 : kFallbackWindowPosition;
}

}  // namespace

WindowPosition defaultWindowPosition(int32_t width, int32_t height) {
    return {centred(width, kDefaultWindowWidth), centred(height, kDefaultWindowHeight)};
}

void setPrimaryScreenSize(int32_t width, int32_t height) {
    screenWidth = width;
    screenHeight = height;
}

void applyGeneralDefaults(GeneralSettings& general) {
    general = GeneralSettings{};
    general.cfg = kSettingsLayoutVersion;
    general.updateDate = static_cast<int32_t>(localDateValueNow());
    const WindowPosition position = defaultWindowPosition(screenWidth, screenHeight);
    general.windowX = position.x;
    general.windowY = position.y;
}

void applyDesktopDefaults(ConversionSettings& settings, GeneralSettings& general) {
    applyDefaults(settings, false);
    applyGeneralDefaults(general);
}

GeneralSettings& generalSettings() {
    static GeneralSettings general;
    return general;
}

}  // namespace pixalto
