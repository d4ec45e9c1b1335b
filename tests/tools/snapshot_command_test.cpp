// kestrune-tool snapshot, run as a developer runs it: one frame of the real
// show, the same bytes every time.

#include "host/saver/texture_pictures.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<int> Snapshot(const std::vector<std::string>& arguments,
                            const std::filesystem::path& folder) {
    ChildProcess::Options options;
    options.arguments = {"snapshot"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.outputPath = (folder / "output.txt").string();
    return RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options, 120s);
}

TEST(SnapshotCommand, WritesTheSameFrameTwiceAndABlackFirstFrame) {
    const auto folder = MakeTemporaryFolder("kestrune-snapshot");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(SaveTexturePictures(folder.string()));
    const std::string textures = folder.string();

    for (const char* name : {"a.ppm", "b.ppm"}) {
        ASSERT_EQ(Snapshot({"--time", "0.35", "--size", "96x64", "--textures", textures,
                            (folder / name).string()},
                           folder),
                  0)
            << ReadFile(folder / "output.txt");
    }
    const std::string a = ReadFile(folder / "a.ppm");
    const std::string header = "P6\n96 64\n255\n";
    ASSERT_EQ(a.size(), header.size() + 96 * 64 * 3);
    EXPECT_EQ(a.substr(0, header.size()), header);
    EXPECT_EQ(a, ReadFile(folder / "b.ppm")) << "two runs gave different frames";
    int lit = 0;
    for (std::size_t i = header.size(); i < a.size(); ++i) {
        lit += static_cast<unsigned char>(a[i]) > 30;
    }
    EXPECT_GT(lit, 100) << "the frame at t = 0.35 is dark";

    // At t = 0 the fade-in has not begun: black.
    ASSERT_EQ(Snapshot({"--time", "0", "--size", "32x24", "--textures", textures,
                        (folder / "c.ppm").string()},
                       folder),
              0);
    const std::string c = ReadFile(folder / "c.ppm");
    EXPECT_EQ(c.find_first_not_of('\0', std::string("P6\n32 24\n255\n").size()), std::string::npos);

    // Bad arguments are refused with the usage.
    EXPECT_EQ(Snapshot({"--time", "-1", "--size", "32x24", (folder / "d.ppm").string()}, folder),
              2);
    EXPECT_EQ(Snapshot({"--time", "0.5", "--size", "32", (folder / "d.ppm").string()}, folder), 2);
    EXPECT_NE(ReadFile(folder / "output.txt").find("usage"), std::string::npos);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kestrune::test
