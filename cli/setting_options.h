#pragma once
// The options that set conversion settings, one table row each. The same
// table serves the command line and profile files (group "CLI" of an INI file
// whose keys are the long option names).
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/option_values.h"
#include "core/conversion_settings.h"

namespace pixalto {

using SettingField = std::variant<int8_t ConversionSettings::*, int32_t ConversionSettings::*,
                                  float ConversionSettings::*, std::string ConversionSettings::*>;

struct SettingOption {
    std::string_view name;  // upper case, with the leading "--"
    OptionKind kind;        // Keyword, Number, Decimal, Text or Switch
    int vocabulary;         // keyword kind: the vocabulary number
    SettingField field;
    int8_t ConversionSettings::*groupFlag;  // the group this option switches on, or null
    int8_t groupValue;                      // what the group flag becomes
    int8_t switchValue;                     // what a switch stores in its field
    std::string_view profileKey;            // key in a profile when it differs from name
    bool profileDropsQuotes;                // profile text values lose their outer quotes
    bool groupNeedsNonZero;                 // a number of 0 leaves the group as it is
};

const std::vector<SettingOption>& settingOptions();

// Row of an upper-case command-line key, or null.
const SettingOption* findSettingOption(std::string_view key);
// Row of an upper-case profile key, or null.
const SettingOption* findProfileKey(std::string_view key);

// Stores an already read value: converts it by the option's kind, writes the
// field and switches the option's group on. A switch ignores the value.
void storeSettingValue(const SettingOption& option, std::string_view value, ConversionSettings& settings);

// Largest profile file that is read; a bigger one counts as unreadable.
inline constexpr uint64_t kMaxProfileBytes = 16u * 1024u * 1024u;

// Applies the group "CLI" of a profile file. False when the path is empty or
// the file cannot be read as a regular file; a file without that group
// applies nothing and still gives true.
bool loadProfile(const std::string& path, ConversionSettings& settings);

}  // namespace pixalto
