// The real renderer inside a window that another program made, as a desktop
// screensaver starts it: through the launcher, which writes the pictures
// first, with the screensaver's arguments.

#include "tests/e2e/renderer_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr int kLeft = 100;
constexpr int kTop = 80;

// Whether the screen shows the show (not black, not uniform) in the
// rectangle at the given window's place.
bool ShowsTheShow(X11Connection& x11, int width, int height) {
    const PictureStats stats = StatsOf(x11.ScreenshotRgb(kLeft, kTop, width, height));
    return stats.maxChannel > 100 && stats.distinctColours > 50;
}

TEST(RendererInAGivenWindow, DrawsAtItsSizeFollowsItsResizeAndEndsCleanly) {
    // A screen without a 1024 x 768 mode, where the fullscreen show would
    // ask whether to run in a window instead.
    RendererRun::Options options;
    options.screenWidth = 1280;
    options.screenHeight = 1024;
    options.start = false;
    RendererRun run(options);
    ASSERT_TRUE(run.serverOk());
    X11Connection& x11 = run.x11();
    const XWindow given = x11.CreateWindow(kLeft, kTop, 480, 360);
    const std::vector<XWindow> topLevels = x11.Children(x11.Root());
    const std::vector<std::uint8_t> elsewhere = x11.ScreenshotRgb(800, 600, 400, 300);

    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", given);
    run.Start("kestrune-hack", {"--window-id", id});

    // The show fades in from black over its first seconds.
    ASSERT_TRUE(WaitUntil([&] { return ShowsTheShow(x11, 480, 360); }, 120s, 250ms))
        << run.process().Output();
    // It draws in a window of its own inside the given one, covering it.
    const std::vector<XWindow> inside = x11.Children(given);
    ASSERT_EQ(inside.size(), 1u);
    const auto geometry = x11.Geometry(inside[0]);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, kLeft);
    EXPECT_EQ(geometry->y, kTop);
    EXPECT_EQ(geometry->width, 480);
    EXPECT_EQ(geometry->height, 360);
    EXPECT_TRUE(geometry->viewable);
    // The launcher wrote the pictures the renderer shows.
    for (const char* name : {"Kestrune1.bmp", "Kestrune2.bmp", "Kestrune3.bmp", "Kestrune4.bmp"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(run.textureFolder() / name)) << name;
    }

    // A larger window: the show follows it, into the part that was not there.
    x11.ResizeWindow(given, 640, 400);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto resized = x11.Geometry(inside[0]);
            return resized && resized->width == 640 && resized->height == 400;
        },
        20s));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return StatsOf(x11.ScreenshotRgb(kLeft + 480, kTop, 160, 400)).distinctColours > 10;
        },
        60s, 250ms))
        << "nothing drawn where the window grew";

    // No question, no mode change, no window of its own beside the given
    // one, nothing drawn outside it.
    EXPECT_FALSE(x11.FindWindowByTitle("Tarq GL"));
    EXPECT_EQ(x11.ScreenWidth(), 1280);
    EXPECT_EQ(x11.ScreenHeight(), 1024);
    EXPECT_EQ(x11.Children(x11.Root()), topLevels);
    EXPECT_EQ(x11.ScreenshotRgb(800, 600, 400, 300), elsewhere);

    // SIGTERM, as the screensaver ends a hack: a clean end, its window gone.
    ASSERT_EQ(kill(run.process().pid(), SIGTERM), 0);
    auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after SIGTERM";
    EXPECT_EQ(*code, 0) << run.process().Output();
    EXPECT_TRUE(x11.Children(given).empty());

    // Started again, without a pause between frames; then the window's owner
    // destroys the window, and the renderer ends by itself.
    run.Start("Kestrune.dll", {"-window-id", std::to_string(given), "-delay", "0"});
    ASSERT_TRUE(WaitUntil([&] { return ShowsTheShow(x11, 640, 400); }, 120s, 250ms))
        << run.process().Output();
    x11.DestroyWindow(given);
    code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after its window was destroyed";
    EXPECT_EQ(*code, 0) << run.process().Output();
}

} // namespace
} // namespace kestrune::test
