// kestrune-tool snapshot, run as a developer runs it: one frame of the real
// show, the same bytes every time.

#include "host/pictures/texture_pictures.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

ToolRun Snapshot(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"snapshot"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return RunKestruneTool(words, 120s);
}

TEST(SnapshotCommand, WritesTheSameFrameTwiceAndABlackFirstFrame) {
    const TempFolder folder("kestrune-snapshot");
    ASSERT_TRUE(folder.Ok());
    ASSERT_TRUE(SaveTexturePictures(folder.Path()));
    const std::string textures = folder.Path();

    for (const char* name : {"a.ppm", "b.ppm"}) {
        const ToolRun run = Snapshot(
            {"--time", "0.35", "--size", "96x64", "--textures", textures, folder.File(name)});
        ASSERT_EQ(run.exitCode, 0) << run.output << run.error;
    }
    const std::string a = ReadBytes(folder.File("a.ppm"));
    const std::string header = "P6\n96 64\n255\n";
    ASSERT_EQ(a.size(), header.size() + 96 * 64 * 3);
    EXPECT_EQ(a.substr(0, header.size()), header);
    EXPECT_EQ(a, ReadBytes(folder.File("b.ppm"))) << "two runs gave different frames";
    int lit = 0;
    for (std::size_t i = header.size(); i < a.size(); ++i) {
        lit += static_cast<unsigned char>(a[i]) > 30;
    }
    EXPECT_GT(lit, 100) << "the frame at t = 0.35 is dark";

    // At t = 0 the fade-in has not begun: black.
    ASSERT_EQ(
        Snapshot({"--time", "0", "--size", "32x24", "--textures", textures, folder.File("c.ppm")})
            .exitCode,
        0);
    const std::string c = ReadBytes(folder.File("c.ppm"));
    EXPECT_EQ(c.find_first_not_of('\0', std::string("P6\n32 24\n255\n").size()), std::string::npos);

    // Bad arguments are refused with the usage.
    EXPECT_EQ(Snapshot({"--time", "-1", "--size", "32x24", folder.File("d.ppm")}).exitCode, 2);
    const ToolRun refused = Snapshot({"--time", "0.5", "--size", "32", folder.File("d.ppm")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.error.find("usage"), std::string::npos) << refused.error;
}

} // namespace
} // namespace kestrune::test
