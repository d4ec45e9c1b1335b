// Both platforms' path rules, as plain functions.
#include "host/core/path_rules.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

// One path, its folder by the Windows rules ("\" and ":" end a folder) and by
// the Linux rules ("/" alone does).
struct FolderCase {
    const char* path;
    const char* windows;
    const char* posix;
};
constexpr FolderCase kFolderCases[] = {
    {"C:\\Music\\a.mp3", "C:\\Music", ""},
    {"C:\\a.mp3", "C:", ""}, // the backslash after the colon goes
    {"D:a.mp3", "D:", ""},
    {"a.mp3", "", ""},
    {"", "", ""},
    {"\\\\server\\share\\a.mp3", "\\\\server\\share", ""},
    {"C:\\Music\\", "C:\\Music", ""},
    {"x\\y.mp3", "x", ""},
    {"/home/u/a.mp3", "", "/home/u"},
    {"/a.mp3", "", "/"},
    {"music/a.mp3", "", "music"},
    {"/music/", "", "/music"},
    // In UTF-8 a "\" is always itself: "表" (0x95 0x5C in code page 932) is
    // no separator.
    {"C:\\表\\a.mp3", "C:\\表", ""},
    {"C:\\表.mp3", "C:", ""},
};

TEST(PathRulesTest, FolderOfPathByEachPlatformsRules) {
    for (const FolderCase& c : kFolderCases) {
        EXPECT_EQ(FolderOfWindowsPath(c.path), c.windows) << c.path;
        EXPECT_EQ(FolderOfPosixPath(c.path), c.posix) << c.path;
    }
}

TEST(PathRulesTest, TrailingSeparatorsAndJoining) {
    EXPECT_EQ(WithoutTrailingWindowsSeparator("C:\\Music\\"), "C:\\Music");
    EXPECT_EQ(WithoutTrailingWindowsSeparator("C:\\Music\\\\"), "C:\\Music\\");
    EXPECT_EQ(WithoutTrailingWindowsSeparator("/music/"), "/music/");
    EXPECT_EQ(WithoutTrailingPosixSeparator("/music/"), "/music");
    EXPECT_EQ(WithoutTrailingPosixSeparator("C:\\Music\\"), "C:\\Music\\");
    EXPECT_EQ(JoinWindowsPath("C:\\Kestrune", "Kestrune.ini"), "C:\\Kestrune\\Kestrune.ini");
    EXPECT_EQ(JoinWindowsPath("C:", "Kestrune.ini"), "C:\\Kestrune.ini");
    EXPECT_EQ(JoinPosixPath("/opt/kestrune", "Kestrune.ini"), "/opt/kestrune/Kestrune.ini");
    EXPECT_EQ(JoinPosixPath("/", "Kestrune.ini"), "/Kestrune.ini");
}

} // namespace
} // namespace kestrune
