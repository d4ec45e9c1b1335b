// The real renderer under a virtual X server: its window, its frames, and
// every way it ends.

#include "tests/e2e/renderer_harness.h"

#include <gtest/gtest.h>

#include <csignal>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kTitle = "Kestrune_VC";
constexpr const char* kQuestionTitle = "Tarq GL";
// The X server's screen saver, set to start after a second without input.
constexpr auto kScreenSaverTimeout = 1s;
// SDL passes a focus change on once it has lasted this long.
constexpr auto kSdlFocusDeferral = 200ms;

RendererRun::Options ScreenOf(int width, int height) {
    RendererRun::Options options;
    options.screenWidth = width;
    options.screenHeight = height;
    return options;
}

TEST(RendererWindow, DrawsFullscreenUntilEscapeThenEndsWithCodeZero) {
    RendererRun run;
    ASSERT_TRUE(run.ServerOk());
    run.X11().SetScreenSaverTimeout(kScreenSaverTimeout);
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window) << run.Process().Output();

    // Frames are really drawn and swapped, over and over.
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() >= 10; }, 20s)) << run.Swaps();
    const auto first = run.Swaps();
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() > first + 10; }, 20s));

    // Fullscreen on a screen that offers 1024 x 768: the window covers it.
    const auto geometry = run.X11().Geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 0);
    EXPECT_EQ(geometry->y, 0);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);
    EXPECT_TRUE(geometry->viewable);

    // Over the show the mouse pointer shows no cursor, and the screen saver
    // stays off however long nobody touches the keyboard or mouse.
    EXPECT_FALSE(run.X11().CursorShown());
    ASSERT_TRUE(
        WaitUntil([&] { return run.X11().ScreenSaver()->idle > 2 * kScreenSaverTimeout; }, 30s));
    EXPECT_FALSE(run.X11().ScreenSaver()->active);

    ASSERT_TRUE(SendKey(run.DisplayName(), "Escape"));
    const auto code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after Escape";
    EXPECT_EQ(*code, 0) << run.Process().Output();
    EXPECT_FALSE(run.X11().FindWindowByTitle(kTitle));
    // Without the show, the pointer shows its cursor again and the screen
    // saver starts.
    EXPECT_TRUE(run.X11().CursorShown());
    EXPECT_TRUE(WaitUntil([&] { return run.X11().ScreenSaver()->active; }, 30s));
}

TEST(RendererWindow, OtherKeysDoNotEndIt) {
    RendererRun run;
    ASSERT_TRUE(run.WaitForWindow(kTitle, 20s));
    ASSERT_TRUE(SendKey(run.DisplayName(), "space"));
    ASSERT_TRUE(SendKey(run.DisplayName(), "Return"));
    ASSERT_TRUE(SendKey(run.DisplayName(), "q"));
    // The loop handles every pending event before it draws: ten frames
    // later the keys have long been seen, and the show goes on.
    EXPECT_TRUE(run.WaitForMoreSwaps(10, 30s));
    EXPECT_TRUE(run.Process().Running());
    // The keys did reach it: Escape, sent the same way, ends it.
    ASSERT_TRUE(SendKey(run.DisplayName(), "Escape"));
    EXPECT_TRUE(run.Process().WaitForExit(20s));
}

TEST(RendererWindow, LosingTheFocusLeavesItFullscreenAndEscapeStillEndsIt) {
    RendererRun run;
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window);
    ASSERT_TRUE(run.WaitForMoreSwaps(3, 20s));
    FocusThief thief(run.DisplayName());

    // SDL reads a focus change at its first look at the events after the next
    // frame, and passes it on at the first look once the change has lasted
    // kSdlFocusDeferral; it looks before every frame. So once the next frame
    // and the deferral have passed, two more frames prove it was passed on.
    const auto letFocusSettle = [&] {
        if (!run.WaitForMoreSwaps(1, 20s)) {
            return false;
        }
        const auto seen = std::chrono::steady_clock::now();
        WaitUntil([&] { return std::chrono::steady_clock::now() - seen >= kSdlFocusDeferral; },
                  kSdlFocusDeferral * 2);
        return run.WaitForMoreSwaps(2, 20s);
    };
    // The renderer has the focus, then another window takes it, as a click
    // elsewhere would.
    ASSERT_TRUE(thief.GiveFocusTo(*window));
    ASSERT_TRUE(letFocusSettle());
    ASSERT_TRUE(thief.TakeFocus());
    ASSERT_TRUE(letFocusSettle()) << "no frames after losing the focus";

    // A minimised show would hide behind the desktop, out of Escape's reach,
    // while the host waits for it to end.
    EXPECT_FALSE(thief.SawMinimiseRequestFor(*window));
    const auto geometry = run.X11().Geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_TRUE(geometry->viewable);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);

    // The user comes back to it and presses Escape.
    ASSERT_TRUE(SendKeyTo(run.DisplayName(), *window, "Escape"));
    const auto code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after Escape";
    EXPECT_EQ(*code, 0);
}

TEST(RendererWindow, ACloseRequestAndStopSignalsEndItAsEscapeDoes) {
    // The window manager's close request (signal 0 below), SIGINT (Control-C
    // in a terminal) and SIGTERM (a plain kill) go through the same tear-down
    // as Escape: the program ends by itself, with code 0, rather than being
    // ended by the signal, and its window goes.
    for (const int signal : {0, SIGINT, SIGTERM}) {
        RendererRun run;
        const auto window = run.WaitForWindow(kTitle, 20s);
        ASSERT_TRUE(window) << run.Process().Output();
        ASSERT_TRUE(WaitUntil([&] { return run.Swaps() > 0; }, 20s));
        ASSERT_TRUE(signal == 0 ? run.X11().RequestClose(*window)
                                : kill(run.Process().Pid(), signal) == 0);
        const auto code = run.Process().WaitForExit(20s);
        ASSERT_TRUE(code) << "still running after signal " << signal;
        EXPECT_EQ(*code, 0) << run.Process().Output();
        EXPECT_TRUE(run.WaitForNoWindow(kTitle, 5s));
    }
}

TEST(RendererWindow, WithoutA1024By768ModeAsksAndYesRunsInAWindow) {
    RendererRun run(ScreenOf(800, 600));
    ASSERT_TRUE(run.ServerOk());
    const auto question = run.WaitForWindow(kQuestionTitle, 20s);
    ASSERT_TRUE(question) << run.Process().Output();
    // Nothing is drawn while the question is open.
    EXPECT_FALSE(run.X11().FindWindowByTitle(kTitle));

    ASSERT_TRUE(SendKeyTo(run.DisplayName(), *question, "Return"));
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window) << run.Process().Output();
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() >= 5; }, 20s));

    // Windowed: a 1024 x 768 client area, not stretched over the 800 x 600
    // screen (there is no window manager, so there is no frame around it).
    const auto geometry = run.X11().Geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);
    EXPECT_EQ(run.X11().ScreenWidth(), 800);

    ASSERT_TRUE(SendKey(run.DisplayName(), "Escape"));
    const auto code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0);
    EXPECT_FALSE(run.X11().FindWindowByTitle(kTitle));
}

TEST(RendererWindow, WithoutA1024By768ModeNoEndsWithoutAWindow) {
    RendererRun run(ScreenOf(1280, 1024));
    const auto question = run.WaitForWindow(kQuestionTitle, 20s);
    ASSERT_TRUE(question) << run.Process().Output();
    ASSERT_TRUE(SendKeyTo(run.DisplayName(), *question, "Escape"));
    const auto code = run.Process().WaitForExit(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0);
    EXPECT_FALSE(run.X11().FindWindowByTitle(kTitle));
    EXPECT_EQ(run.Swaps(), 0u);
    // The screen keeps its size: declining touched no display mode.
    EXPECT_EQ(run.X11().ScreenWidth(), 1280);
}

} // namespace
} // namespace kestrune::test
