#include "host/core/settings_location.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(SettingsLocation, BesideTheHostWhenThereOrWritableElseInTheUsersFolder) {
    SettingsPlaceFacts installed;
    installed.programFolder = "/usr/lib/kestrune";
    installed.configHome = "/home/ada/settings";
    installed.homeFolder = "/home/ada";
    EXPECT_EQ(ChooseSettingsFile(installed), "/home/ada/settings/kestrune/Kestrune.ini");

    // A file someone put there, readable or not, or a folder the user may
    // write (a build tree, a copy in the home folder): beside the host.
    SettingsPlaceFacts facts = installed;
    facts.besideFileExists = true;
    EXPECT_EQ(ChooseSettingsFile(facts), "/usr/lib/kestrune/Kestrune.ini");
    facts = installed;
    facts.programFolderWritable = true;
    EXPECT_EQ(ChooseSettingsFile(facts), "/usr/lib/kestrune/Kestrune.ini");

    // XDG_CONFIG_HOME unset or relative: ~/.config. No home either: beside
    // the host, where saving then fails rather than landing anywhere odd.
    for (const char* configHome : {"", "settings"}) {
        facts = installed;
        facts.configHome = configHome;
        EXPECT_EQ(ChooseSettingsFile(facts), "/home/ada/.config/kestrune/Kestrune.ini");
        facts.homeFolder = "";
        EXPECT_EQ(ChooseSettingsFile(facts), "/usr/lib/kestrune/Kestrune.ini");
    }
}

} // namespace
} // namespace kestrune
