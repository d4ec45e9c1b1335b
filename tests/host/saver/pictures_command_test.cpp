#include "common/kestrune_names.h"
#include "host/saver/bmp_writer.h"
#include "host/saver/texture_pictures.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using test::RunKestruneTool;
using test::TempFolder;
using test::ToolRun;

std::vector<std::uint8_t> BytesOf(const std::string& path) {
    const std::string bytes = test::ReadBytes(path);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

TEST(PicturesCommandTest, WritesTheFourTextureFilesIntoTheFolder) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    // An older file is replaced.
    test::WriteBytes(TextureFilePath(folder.path(), 2), "old");

    const ToolRun run = RunKestruneTool({"pictures", folder.path()});
    ASSERT_EQ(run.exitCode, 0) << run.error;
    for (int number = 1; number <= kTextureFileCount; ++number) {
        const std::string path = TextureFilePath(folder.path(), number);
        EXPECT_EQ(BytesOf(path), EncodeBmp(Pic1Picture(number))) << path;
        EXPECT_NE(run.output.find(path), std::string::npos) << run.output;
    }
    EXPECT_NE(run.output.find("512x512"), std::string::npos) << run.output;
}

TEST(PicturesCommandTest, FailsWithAMessage) {
    TempFolder scratch;
    ASSERT_TRUE(scratch.ok());
    const std::string missing = scratch.File("no-such-folder");
    const ToolRun run = RunKestruneTool({"pictures", missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.error.find(missing), std::string::npos) << run.error;
    EXPECT_FALSE(std::filesystem::exists(missing));

    const ToolRun usage = RunKestruneTool({"pictures"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.error.find("Usage: kestrune-tool pictures DIR"), std::string::npos)
        << usage.error;
}

} // namespace
} // namespace kestrune
