#pragma once
// Where the desktop keeps its files: the roaming application-data folder is
// $XDG_CONFIG_HOME, or ~/.config when that is unset; the maker's and the
// product's folders lie below it.
#include <string>

namespace pixalto {

// The roaming application-data folder with its trailing separator, or "" when
// neither $XDG_CONFIG_HOME (absolute) nor a home folder can be found.
std::string applicationDataFolder();

// "<application data>Corvane/pixalto/", each folder created when missing.
// Starts at the root folder when the application-data folder is unknown.
std::string productDataFolder();

// Full path of the desktop's settings file, "<product data folder>config.ini".
std::string settingsFilePath();

}  // namespace pixalto
