#include "host/core/settings_location.h"

#include "host/core/Kestrune_B.h"
#include "host/core/path_rules.h"

namespace kestrune {

namespace {

bool IsAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

} // namespace

std::string UserSettingsFolder(const std::string& configHome, const std::string& homeFolder) {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored; a relative
    // home would move with the working folder.
    if (IsAbsolute(configHome)) {
        return JoinPosixPath(configHome, "kestrune");
    }
    if (IsAbsolute(homeFolder)) {
        return JoinPosixPath(JoinPosixPath(homeFolder, ".config"), "kestrune");
    }
    return {};
}

std::string ChooseSettingsFile(const SettingsPlaceFacts& facts) {
    const std::string beside = JoinPosixPath(facts.programFolder, kSettingsFileName);
    if (facts.besideFileExists || facts.programFolderWritable) {
        return beside;
    }
    const std::string folder = UserSettingsFolder(facts.configHome, facts.homeFolder);
    return folder.empty() ? beside : JoinPosixPath(folder, kSettingsFileName);
}

} // namespace kestrune
