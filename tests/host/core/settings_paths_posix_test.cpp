// The settings routines by the Linux rules: "/" is the only separator, the
// program folder is the executable's, and devices, pipes and links are told
// apart from regular files.
#include "host/core/Kestrune_B.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {
namespace {

using test::TempFolder;
using test::WriteBytes;

TEST(FileExistsPosixTest, DevicesAndPipesAreNoFilesAndLinksAreFollowed) {
    TempFolder folder;
    const std::string file = folder.File("a.mp3");
    WriteBytes(file, "x");
    EXPECT_FALSE(FileExists("/dev/null"));
    const std::string fifo = folder.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(FileExists(fifo)); // and it does not hang
    const std::string link = folder.File("link.mp3");
    ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);
    EXPECT_TRUE(FileExists(link));
}

TEST(FolderOfPathTest, FollowsTheLinuxRules) {
    EXPECT_EQ(FolderOfPath("/home/user/Music/a.mp3"), "/home/user/Music");
    EXPECT_EQ(FolderOfPath("C:\\a.mp3"), "");
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningExecutable) {
    const std::string folder = ProgramFolder();
    EXPECT_EQ(folder, std::filesystem::canonical("/proc/self/exe").parent_path().string());
    EXPECT_EQ(SettingsFilePath(), folder + "/Kestrune.ini");
}

TEST(ProgramFolderTest, AnUnknownProgramPathGivesTheWorkingFolderNeverTheRoot) {
    EXPECT_EQ(ProgramFolderOf("/opt/kestrune/Kestrune.scr"), "/opt/kestrune");
    // The renderer, though, is never looked for in the working folder.
    EXPECT_EQ(RendererProgramPathOf("/opt/kestrune/Kestrune.scr"), "/opt/kestrune/Kestrune.dll");
    EXPECT_EQ(RendererProgramPathOf(""), "");
    EXPECT_EQ(RendererProgramPathOf("Kestrune.scr"), "");
    const std::filesystem::path previous = std::filesystem::current_path();
    TempFolder folder;
    const std::string working = folder.File("working");
    ASSERT_TRUE(std::filesystem::create_directory(working));
    ASSERT_EQ(chdir(working.c_str()), 0);
    EXPECT_EQ(ProgramFolderOf(""), std::filesystem::canonical(working).string());
    // A working folder that was removed still is no root.
    ASSERT_EQ(rmdir(working.c_str()), 0);
    EXPECT_EQ(ProgramFolderOf(""), ".");
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

} // namespace
} // namespace kestrune
