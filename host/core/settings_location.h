#pragma once

#include <string>

// Where the settings file lives. On Windows it is always Kestrune.ini beside
// the host. On Linux the host is often installed where its user cannot
// write (/usr/lib/kestrune by `cmake --install` or a package), so there the
// rule is:
//
//   Kestrune.ini beside the host, when that file exists or the host's folder
//   is writable (a build tree, a copy in the home folder); otherwise
//   $XDG_CONFIG_HOME/kestrune/Kestrune.ini, or ~/.config/kestrune/Kestrune.ini
//   when that variable is unset or not an absolute path. That folder is made
//   on the first save.
//
// The facts the rule looks at are gathered per platform
// (settings_location_linux.cpp, settings_location_win32.cpp); the rule
// itself is ChooseSettingsFile, the same everywhere it applies.
namespace kestrune {

// What the per-user rule looks at.
struct SettingsPlaceFacts {
    std::string programFolder;          // the host's folder
    bool besideFileExists = false;      // Kestrune.ini is there already
    bool programFolderWritable = false; // a file could be made there
    std::string configHome;             // $XDG_CONFIG_HOME, "" when unset
    std::string homeFolder;             // the user's home, "" when unknown
};

// The per-user settings folder: $XDG_CONFIG_HOME/kestrune when that is an
// absolute path, else ~/.config/kestrune; "" when neither can be named.
std::string UserSettingsFolder(const std::string& configHome, const std::string& homeFolder);

// The settings file by the per-user rule above. With no per-user folder to
// name at all, the file stays beside the host, where saving may then fail.
std::string ChooseSettingsFile(const SettingsPlaceFacts& facts);

// The settings file of a host in `programFolder`, by this platform's rule.
std::string SettingsFileOf(const std::string& programFolder);

// Readies `settingsFile` for a write: when it lies in the per-user settings
// folder and that folder (or a folder above it) is missing, it is made, for
// the user alone. Any other file is left to the write itself. Returns whether
// the file's folder exists now.
bool PrepareSettingsFolder(const std::string& settingsFile);

} // namespace kestrune
