#pragma once
// The desktop's own preferences: language, update schedule, window geometry,
// interface theme and the recent lists. Stored beside the conversion options
// in the settings file; the console never uses them.
#include <cstdint>
#include <string>

#include "core/conversion_settings.h"

namespace pixalto {

// Layout version of the settings file that this program writes.
inline constexpr int32_t kSettingsLayoutVersion = 19;

inline constexpr int32_t kDefaultWindowWidth = 510;
inline constexpr int32_t kDefaultWindowHeight = 330;
inline constexpr int32_t kFallbackWindowPosition = 100;

struct GeneralSettings {
    // General
    int32_t cfg = 0;  // layout version read from the file
    std::string language = "en";
    int32_t updateRange = 2;
    int32_t updateDate = 0;  // date value of the last scheduled check
    int8_t saveWindowPosition = 1;

    // Window
    int8_t isMaximized = 0;
    int32_t windowWidth = kDefaultWindowWidth;
    int32_t windowHeight = kDefaultWindowHeight;
    int32_t windowX = kFallbackWindowPosition;
    int32_t windowY = kFallbackWindowPosition;

    // Interface
    std::string uiTheme = "handdrawn";
    int32_t uiSize = 2;

    // File
    std::string recentOutFolders;  // newest first, separated by a tab
    std::string recentFiles;

    // Privacy
    int8_t cleanRecentFiles = 0;
};

struct WindowPosition {
    int32_t x = kFallbackWindowPosition;
    int32_t y = kFallbackWindowPosition;
};

// Centres the default window on a screen of the given size; a side that is
// not larger than the window gets the fallback position.
WindowPosition defaultWindowPosition(int32_t screenWidth, int32_t screenHeight);

// The desktop tells the size of its primary screen before it makes defaults.
// Until then the size counts as 0 x 0.
void setPrimaryScreenSize(int32_t width, int32_t height);

// Every desktop preference to its default: the window centred on the primary
// screen, the update date and the layout version of now.
void applyGeneralDefaults(GeneralSettings& general);

// The desktop's defaults: the conversion options in their desktop flavour and
// the desktop preferences.
void applyDesktopDefaults(ConversionSettings& settings, GeneralSettings& general);

// The process's one set of desktop preferences.
GeneralSettings& generalSettings();

}  // namespace pixalto
