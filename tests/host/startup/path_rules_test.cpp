// Both platforms' path rules, as plain functions.
#include "host/startup/path_rules.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(PathRulesTest, WindowsFolderOfPath) {
    EXPECT_EQ(FolderOfWindowsPath("C:\\Music\\a.mp3"), "C:\\Music");
    EXPECT_EQ(FolderOfWindowsPath("C:\\a.mp3"), "C:");
    EXPECT_EQ(FolderOfWindowsPath("D:a.mp3"), "D:");
    EXPECT_EQ(FolderOfWindowsPath("a.mp3"), "");
    EXPECT_EQ(FolderOfWindowsPath("\\\\server\\share\\a.mp3"), "\\\\server\\share");
    EXPECT_EQ(FolderOfWindowsPath("C:\\Music\\"), "C:\\Music");
    EXPECT_EQ(FolderOfWindowsPath("/unix/style.mp3"), ""); // "/" is no separator here
    // In UTF-8 a "\" is always itself: "表" (0x95 0x5C in code page 932) is no
    // separator.
    EXPECT_EQ(FolderOfWindowsPath("C:\\表\\a.mp3"), "C:\\表");
    EXPECT_EQ(FolderOfWindowsPath("C:\\表.mp3"), "C:");
}

TEST(PathRulesTest, PosixFolderOfPath) {
    EXPECT_EQ(FolderOfPosixPath("/home/u/a.mp3"), "/home/u");
    EXPECT_EQ(FolderOfPosixPath("/a.mp3"), "/");
    EXPECT_EQ(FolderOfPosixPath("a.mp3"), "");
    EXPECT_EQ(FolderOfPosixPath("D:a.mp3"), "");
    EXPECT_EQ(FolderOfPosixPath("x\\y.mp3"), "");
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
