#include "host/core/settings_location.h"

#include "common/kestrune_names.h"
#include "host/core/Kestrune_B.h"
#include "host/core/path_rules.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// $HOME, or the password database's home when HOME is unset or relative (a
// process started by a service manager, say).
std::string HomeFolder() {
    std::string home = EnvironmentValue("HOME");
    if (!home.empty() && home.front() == '/') {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

std::string CurrentUserSettingsFolder() {
    return UserSettingsFolder(EnvironmentValue("XDG_CONFIG_HOME"), HomeFolder());
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

std::string SettingsFileOf(const std::string& programFolder) {
    SettingsPlaceFacts facts;
    facts.programFolder = programFolder;
    struct stat status {};
    facts.besideFileExists =
        stat(JoinPosixPath(programFolder, kSettingsFileName).c_str(), &status) == 0;
    facts.programFolderWritable = access(programFolder.c_str(), W_OK) == 0;
    facts.configHome = EnvironmentValue("XDG_CONFIG_HOME");
    facts.homeFolder = HomeFolder();
    return ChooseSettingsFile(facts);
}

bool PrepareSettingsFolder(const std::string& settingsFile) {
    const std::string folder = FolderOfPosixPath(settingsFile);
    const std::string userFolder = CurrentUserSettingsFolder();
    if (!userFolder.empty() && folder == userFolder) {
        // With its parents, for the user alone, as XDG asks of the folders
        // under its base folders.
        return CreateFolderWithParents(folder);
    }
    return folder.empty() || IsFolder(folder);
}

} // namespace kestrune
