#include "host/core/settings_location.h"

#include "host/core/Kestrune_B.h"
#include "host/core/path_rules.h"

namespace kestrune {

// Windows keeps the settings file beside the host, always, and a write
// needs no folder made first.

std::string SettingsFileOf(const std::string& programFolder) {
    return JoinWindowsPath(programFolder, kSettingsFileName);
}

bool PrepareSettingsFolder(const std::string&) {
    return true;
}

} // namespace kestrune
