#include "common/kestrune_names.h"
#include "tests/host/pictures/saver_pictures_check.h"
#include "tests/support/tool_run.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using test::RunKestruneTool;
using test::TempFolder;
using test::ToolRun;

TEST(PicturesCommandTest, WritesTheFourTextureFilesIntoTheFolder) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    // An older file is replaced.
    test::WriteBytes(TextureFilePath(folder.Path(), kSparkTextureFile), "old");

    const ToolRun run = RunKestruneTool({"pictures", folder.Path()});
    ASSERT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(test::TextureFilesNotCurrent(folder.Path()), "");
    for (int number = 1; number <= kTextureFileCount; ++number) {
        const std::string path = TextureFilePath(folder.Path(), number);
        EXPECT_NE(run.output.find(path), std::string::npos) << run.output;
    }
    EXPECT_NE(run.output.find("512x512"), std::string::npos) << run.output;
}

TEST(PicturesCommandTest, MakesAMissingFolderWithItsParents) {
    // As on a fresh account, where not even ~/.cache exists yet.
    TempFolder home;
    ASSERT_TRUE(home.Ok());
    const std::string folder = home.File(".cache/r_vosk");

    const ToolRun run = RunKestruneTool({"pictures", folder});
    ASSERT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(test::TextureFilesNotCurrent(folder), "");
#ifndef _WIN32
    // Made for this user alone, as a per-user cache folder should be.
    using std::filesystem::perms;
    for (const std::string& made : {home.File(".cache"), folder}) {
        EXPECT_EQ(std::filesystem::status(made).permissions() & perms::all, perms::owner_all)
            << made;
    }
#endif
}

TEST(PicturesCommandTest, FailsWithAMessage) {
    TempFolder scratch;
    ASSERT_TRUE(scratch.Ok());
    // A file stands where a folder on the way would have to be.
    const std::string blocker = scratch.Write("file", "x");
    const std::string beyond = scratch.File("file/r_vosk");
    const ToolRun run = RunKestruneTool({"pictures", beyond});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.error.find(beyond), std::string::npos) << run.error;
    EXPECT_EQ(test::ReadBytes(blocker), "x");

    const ToolRun usage = RunKestruneTool({"pictures"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.error.find("Usage: kestrune-tool pictures DIR"), std::string::npos)
        << usage.error;
}

} // namespace
} // namespace kestrune
