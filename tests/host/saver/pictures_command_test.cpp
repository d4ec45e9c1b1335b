#include "common/kestrune_names.h"
#include "host/saver/bmp_writer.h"
#include "host/saver/texture_pictures.h"
#include "tests/host/saver/temporary_folder.h"
#include "tests/support/child_process.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using namespace std::chrono_literals;

// Runs kestrune-tool with `arguments`, returning its exit code and what it
// wrote to standard output and error together.
std::pair<std::optional<int>, std::string> RunTool(const std::vector<std::string>& arguments,
                                                   const test::TemporaryFolder& scratch) {
    test::ChildProcess::Options options;
    options.arguments = arguments;
    options.outputPath = scratch / "output.txt";
    const std::optional<int> code =
        test::RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options, 60s);
    std::ifstream in(options.outputPath);
    std::stringstream text;
    text << in.rdbuf();
    return {code, text.str()};
}

TEST(PicturesCommandTest, WritesTheFourTextureFilesIntoTheFolder) {
    test::TemporaryFolder folder;
    test::TemporaryFolder scratch;
    ASSERT_TRUE(folder.ok() && scratch.ok());
    // An older file is replaced.
    std::ofstream(TextureFilePath(folder.path(), 2)) << "old";

    const auto [code, output] = RunTool({"pictures", folder.path()}, scratch);
    ASSERT_EQ(code, 0) << output;
    for (int number = 1; number <= kTextureFileCount; ++number) {
        const std::string path = TextureFilePath(folder.path(), number);
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        EXPECT_EQ(bytes, EncodeBmp(Pic1Picture(number))) << path;
        EXPECT_NE(output.find(path), std::string::npos) << output;
    }
    EXPECT_NE(output.find("512x512"), std::string::npos) << output;
}

TEST(PicturesCommandTest, FailsWithAMessage) {
    test::TemporaryFolder scratch;
    ASSERT_TRUE(scratch.ok());
    const std::string missing = scratch / "no-such-folder";
    const auto [code, output] = RunTool({"pictures", missing}, scratch);
    EXPECT_EQ(code, 1);
    EXPECT_NE(output.find(missing), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(missing));

    const auto [usage_code, usage] = RunTool({"pictures"}, scratch);
    EXPECT_EQ(usage_code, 2);
    EXPECT_NE(usage.find("Usage: kestrune-tool pictures DIR"), std::string::npos) << usage;
}

} // namespace
} // namespace kestrune
