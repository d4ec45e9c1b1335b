#include "host/core/settings_location.h"

#include "host/core/Kestrune_B.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace kestrune {
namespace {

// XDG_CONFIG_HOME for one test, put back afterwards.
class ConfigHome {
public:
    explicit ConfigHome(const std::string& value) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            m_old = old;
        }
        setenv("XDG_CONFIG_HOME", value.c_str(), 1);
    }
    ~ConfigHome() {
        if (m_old) {
            setenv("XDG_CONFIG_HOME", m_old->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

private:
    std::optional<std::string> m_old;
};

unsigned ModeOf(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777u : 0u;
}

TEST(SettingsLocationPosix, TheFirstSaveMakesTheUsersFolderForThemAlone) {
    test::TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string configHome = folder.File("config");
    const ConfigHome environment(configHome);
    const std::string userFolder = UserSettingsFolder(configHome, "");
    const std::string file = userFolder + "/Kestrune.ini";
    SettingsPlaceFacts installed;
    installed.programFolder = folder.File("lib");
    installed.configHome = configHome;
    ASSERT_EQ(ChooseSettingsFile(installed), file);

    ASSERT_TRUE(WriteIniValue(kSettingsSection, kBgmKindKey, " 2", file));
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmKindKey, file), "2");
    EXPECT_EQ(ModeOf(configHome), 0700u);
    EXPECT_EQ(ModeOf(userFolder), 0700u);

    // Any other settings file gets no folder made for it.
    const std::string elsewhere = folder.File("elsewhere") + "/Kestrune.ini";
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmKindKey, " 1", elsewhere));
    EXPECT_FALSE(std::filesystem::exists(folder.File("elsewhere")));
}

} // namespace
} // namespace kestrune
