// The real renderer playing the show with the saver's pictures, as a user
// would see it.

#include "tests/e2e/renderer_harness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

TEST(ShowOnScreen, FadesInToAPictureNeitherBlackNorUniformAndEscapeEndsIt) {
    RendererRun::Options options;
    options.withPictures = true;
    RendererRun run(options);
    ASSERT_TRUE(run.ServerOk());
    ASSERT_TRUE(run.WaitForWindow("Kestrune_VC", 20s)) << run.Process().Output();

    // The show fades in from black over its first five seconds: wait for
    // the picture, however slowly the frames come.
    std::vector<std::uint8_t> screen;
    PictureStats stats;
    WaitUntil(
        [&] {
            screen = run.X11().ScreenshotRgb();
            stats = StatsOf(screen);
            return stats.maxChannel > 100 && stats.distinctColours > 50;
        },
        120s, 250ms);
    ASSERT_EQ(screen.size(), 1024u * 768u * 3u);
    EXPECT_GT(stats.maxChannel, 100) << "still black";
    EXPECT_GT(stats.distinctColours, 50) << "a uniform picture";
    if (::testing::Test::HasFailure()) {
        WritePpm((run.Folder() / "screen.ppm").string(), 1024, 768, screen);
    }
    // The renderer draws on and on.
    EXPECT_TRUE(run.WaitForMoreSwaps(10, 60s));
    // No message box: the pictures are all readable.
    EXPECT_FALSE(run.X11().FindWindowByTitle("Error"));

    ASSERT_TRUE(SendKey(run.DisplayName(), "Escape"));
    const auto code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0) << run.Process().Output();
}

} // namespace
} // namespace kestrune::test
