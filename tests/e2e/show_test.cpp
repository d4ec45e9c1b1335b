// The real renderer playing the show with the saver's pictures, as a user
// would see it.

#include "tests/e2e/renderer_harness.h"

#include <gtest/gtest.h>

#include <thread>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

TEST(ShowOnScreen, ThreeSecondsInTheShowIsNeitherBlackNorUniformAndEscapeEndsIt) {
    RendererRun::Options options;
    options.withPictures = true;
    RendererRun run(options);
    ASSERT_TRUE(run.serverOk());
    ASSERT_TRUE(run.WaitForWindow("Kestrune_VC", 20s)) << run.process().Output();

    std::this_thread::sleep_for(3s);
    const auto screen = run.x11().ScreenshotRgb();
    ASSERT_EQ(screen.size(), 1024u * 768u * 3u);
    const PictureStats stats = StatsOf(screen);
    EXPECT_GT(stats.maxChannel, 100) << "black after three seconds";
    EXPECT_GT(stats.distinctColours, 50) << "a uniform picture";
    if (::testing::Test::HasFailure()) {
        WritePpm((run.folder() / "screen.ppm").string(), 1024, 768, screen);
    }
    // No message box: the pictures are all readable.
    EXPECT_FALSE(run.x11().FindWindowByTitle("Error"));

    ASSERT_TRUE(SendKey(run.display(), "Escape"));
    const auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0) << run.process().Output();
}

} // namespace
} // namespace kestrune::test
