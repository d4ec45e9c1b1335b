// The real renderer inside a window that another program made, as a desktop
// screensaver starts it: through the launcher, which writes the pictures
// first, with the screensaver's arguments.

#include "tests/e2e/renderer_harness.h"
#include "tests/support/show_check.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr int kLeft = 100;
constexpr int kTop = 80;

// The pause the first start asks for after each frame: far longer than a
// frame takes, so that the pacing shows.
constexpr std::chrono::microseconds kLongDelay = 1s;
constexpr std::chrono::milliseconds kLook = 50ms;

TEST(RendererInAGivenWindow, DrawsAtItsSizeFollowsItsResizeAndEndsCleanly) {
    // A screen without a 1024 x 768 mode, where the fullscreen show would
    // ask whether to run in a window instead.
    RendererRun::Options options;
    options.screenWidth = 1280;
    options.screenHeight = 1024;
    options.start = false;
    RendererRun run(options);
    ASSERT_TRUE(run.ServerOk());
    X11Connection& x11 = run.X11();
    const XWindow given = x11.CreateWindow(kLeft, kTop, 480, 360);
    const std::vector<XWindow> topLevels = x11.Children(x11.Root());
    const std::vector<std::uint8_t> elsewhere = x11.ScreenshotRgb(800, 600, 400, 300);

    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", given);
    run.Start("kestrune-hack", {"--window-id", id, "--delay", std::to_string(kLongDelay.count())});
    const auto runs = [&] { return run.Process().Running(); };

    // The show fades in from black over its first seconds.
    ASSERT_TRUE(WaitForTheShow(x11, {kLeft, kTop, 480, 360}, runs, 120s)) << run.Process().Output();
    // Frames come no sooner than the pause allows, however fast the machine:
    // three changes of the picture span at least two pauses. Each change
    // happened after the look before the one that saw it began, and before
    // that look ended; the widest span these bounds allow must hold the two
    // pauses (a busy machine stretches the looks, never the pauses).
    struct Change {
        std::chrono::steady_clock::time_point after;
        std::chrono::steady_clock::time_point before;
    };
    std::vector<Change> changes;
    std::vector<std::uint8_t> last;
    auto previousLook = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto look = std::chrono::steady_clock::now();
            auto now = x11.ScreenshotRgb(kLeft, kTop, 480, 360);
            if (now != last) {
                changes.push_back({previousLook, std::chrono::steady_clock::now()});
                last = std::move(now);
            }
            previousLook = look;
            return changes.size() == 4; // the first look is no change
        },
        60s, kLook));
    EXPECT_GE(changes[3].before - changes[1].after, 2 * kLongDelay);
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
        EXPECT_TRUE(std::filesystem::is_regular_file(run.TextureFolder() / name)) << name;
    }

    // A larger window: the show follows it, into the part that was not there.
    x11.ResizeWindow(given, 640, 400);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto resized = x11.Geometry(inside[0]);
            return resized && resized->width == 640 && resized->height == 400;
        },
        20s));
    EXPECT_TRUE(WaitForTheShow(x11, {kLeft, kTop, 640, 400}, runs, 60s))
        << "not drawn where the window grew";

    // No question, no mode change, no window of its own beside the given
    // one, nothing drawn outside it.
    EXPECT_FALSE(x11.FindWindowByTitle("Tarq GL"));
    EXPECT_EQ(x11.ScreenWidth(), 1280);
    EXPECT_EQ(x11.ScreenHeight(), 1024);
    EXPECT_EQ(x11.Children(x11.Root()), topLevels);
    EXPECT_EQ(x11.ScreenshotRgb(800, 600, 400, 300), elsewhere);

    // SIGTERM, as the screensaver ends a hack: a clean end, its window gone.
    ASSERT_EQ(kill(run.Process().Pid(), SIGTERM), 0);
    auto code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after SIGTERM";
    EXPECT_EQ(*code, 0) << run.Process().Output();
    EXPECT_TRUE(x11.Children(given).empty());

    // Started again, without a pause between frames; then the window's owner
    // destroys the window, and the renderer ends by itself.
    run.Start("Kestrune.dll", {"-window-id", std::to_string(given), "-delay", "0"});
    ASSERT_TRUE(WaitForTheShow(x11, {kLeft, kTop, 640, 400}, runs, 120s)) << run.Process().Output();
    x11.DestroyWindow(given);
    code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after its window was destroyed";
    EXPECT_EQ(*code, 0) << run.Process().Output();
}

} // namespace
} // namespace kestrune::test
