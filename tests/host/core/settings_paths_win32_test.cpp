// The settings routines by the Windows rules: "\" and ":" end a folder, the
// program folder is the module's, and the null device is no file.
#include "host/core/Kestrune_B.h"

#include "common/utf8_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kestrune {
namespace {

TEST(FileExistsWin32Test, TheNullDeviceIsNoFile) {
    EXPECT_FALSE(FileExists("NUL"));
    EXPECT_FALSE(FileExists("nul"));
}

TEST(FolderOfPathTest, FollowsTheWindowsRules) {
    EXPECT_EQ(FolderOfPath("C:\\Music\\a.mp3"), "C:\\Music");
    EXPECT_EQ(FolderOfPath("/home/a.mp3"), "");
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningModule) {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::string expected = path;
    expected.erase(expected.find_last_of('\\'));
    const std::string folder = ProgramFolder();
    EXPECT_EQ(folder, expected);
    EXPECT_EQ(SettingsFilePath(), folder + "\\Kestrune.ini");
}

TEST(ProgramFolderTest, AnUnknownProgramPathGivesTheWorkingFolder) {
    EXPECT_EQ(ProgramFolderOf("C:\\Kestrune\\Kestrune.scr"), "C:\\Kestrune");
    EXPECT_EQ(RendererProgramPathOf("C:\\Kestrune\\Kestrune.scr"), "C:\\Kestrune\\Kestrune.dll");
    EXPECT_EQ(RendererProgramPathOf(""), "");
    wchar_t working[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, working), 0u);
    EXPECT_EQ(ProgramFolderOf(""), Narrow(working).value());
}

} // namespace
} // namespace kestrune
