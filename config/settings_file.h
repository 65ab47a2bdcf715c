#pragma once
// The desktop's settings file: every conversion option and every desktop
// preference in one INI file, read once at start and written in full.
#include <string>

#include "core/conversion_settings.h"
#include "core/general_settings.h"
#include "platform/locations.h"  // settingsFilePath()

namespace pixalto {

// Files larger than this are not read: the defaults apply instead.
inline constexpr uint64_t kMaxSettingsFileBytes = 4u << 20;

// Reads the file at path into both records. Keys missing from the file keep
// their defaults; old layouts are brought up to date. When the file cannot be
// read, the desktop defaults apply and the answer is false.
bool loadSettingsFrom(const std::string& path, ConversionSettings& settings, GeneralSettings& general);

// The whole file as it is written: UTF-8 with a byte-order mark, CR LF line ends.
std::string settingsFileText(const ConversionSettings& settings, const GeneralSettings& general);

// Writes the file at path anew, atomically. False (and the old file left as it
// was) when it cannot be written.
bool saveSettingsTo(const std::string& path, const ConversionSettings& settings, const GeneralSettings& general);

// The process's records and the file at settingsFilePath().
bool loadSettings();
bool saveSettings();

}  // namespace pixalto
