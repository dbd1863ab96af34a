#pragma once
// The user's settings file, a few "key=value" lines in the configuration
// folder of the XDG base directories.

#include <string>

namespace platform {

// The user's home folder: $HOME, else the account's; "" when neither is an absolute path.
std::string HomeFolder();

// $XDG_CONFIG_HOME/tessel-icons/settings, else ~/.config/tessel-icons/settings;
// "" when no home folder can be told.
std::string SettingsFilePath();

// The file's text; "" when it is missing, not a plain file, unreadable or far
// bigger than a settings file gets.
std::string ReadSettingsFile(const std::string& path);

// Puts the text in place whole, making its folder first; false when it cannot.
bool WriteSettingsFile(const std::string& path, const std::string& text);

}  // namespace platform
