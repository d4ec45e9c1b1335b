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

RendererRun::Options ScreenOf(int width, int height) {
    RendererRun::Options options;
    options.screenWidth = width;
    options.screenHeight = height;
    return options;
}

TEST(RendererWindow, DrawsFullscreenUntilEscapeThenEndsWithCodeZero) {
    RendererRun run;
    ASSERT_TRUE(run.serverOk());
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window) << run.process().Output();

    // Frames are really drawn and swapped, over and over.
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() >= 10; }, 20s)) << run.Swaps();
    const auto first = run.Swaps();
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() > first + 10; }, 20s));

    // Fullscreen on a screen that offers 1024 x 768: the window covers it.
    const auto geometry = run.x11().Geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 0);
    EXPECT_EQ(geometry->y, 0);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);
    EXPECT_TRUE(geometry->viewable);

    ASSERT_TRUE(SendKey(run.display(), "Escape"));
    const auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after Escape";
    EXPECT_EQ(*code, 0) << run.process().Output();
    EXPECT_FALSE(run.x11().FindWindowByTitle(kTitle));
}

TEST(RendererWindow, OtherKeysDoNotEndIt) {
    RendererRun run;
    ASSERT_TRUE(run.WaitForWindow(kTitle, 20s));
    ASSERT_TRUE(SendKey(run.display(), "space"));
    ASSERT_TRUE(SendKey(run.display(), "Return"));
    ASSERT_TRUE(SendKey(run.display(), "q"));
    // The loop handles every pending event before it draws: ten frames
    // later the keys have long been seen, and the show goes on.
    EXPECT_TRUE(run.WaitForMoreSwaps(10, 30s));
    EXPECT_TRUE(run.process().Running());
    // The keys did reach it: Escape, sent the same way, ends it.
    ASSERT_TRUE(SendKey(run.display(), "Escape"));
    EXPECT_TRUE(run.process().WaitForExit(20s));
}

TEST(RendererWindow, LosingTheFocusLeavesItFullscreenAndEscapeStillEndsIt) {
    RendererRun run;
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window);
    ASSERT_TRUE(run.WaitForMoreSwaps(3, 20s));
    FocusThief thief(run.display());

    // SDL passes a focus change on once it has lasted a fifth of a second,
    // at its next look at the events: after a second and two more frames it
    // has surely been seen, however slow the frames.
    const auto letFocusSettle = [&] {
        const auto moved = std::chrono::steady_clock::now();
        return WaitUntil([&] { return std::chrono::steady_clock::now() - moved >= 1s; }, 5s) &&
               run.WaitForMoreSwaps(2, 20s);
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
    const auto geometry = run.x11().Geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_TRUE(geometry->viewable);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);

    // The user comes back to it and presses Escape.
    ASSERT_TRUE(SendKeyTo(run.display(), *window, "Escape"));
    const auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after Escape";
    EXPECT_EQ(*code, 0);
}

TEST(RendererWindow, CloseRequestEndsItWithCodeZero) {
    RendererRun run;
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() > 0; }, 20s));
    ASSERT_TRUE(run.x11().RequestClose(*window));
    const auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code) << "still running after the close request";
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(run.WaitForNoWindow(kTitle, 5s));
}

TEST(RendererWindow, StopSignalsEndItAsEscapeDoes) {
    // SIGINT (Control-C in a terminal) and SIGTERM (a plain kill) go through
    // the same tear-down as Escape, which gives the display its mode back.
    for (const int signal : {SIGINT, SIGTERM}) {
        RendererRun run;
        ASSERT_TRUE(run.WaitForWindow(kTitle, 20s)) << run.process().Output();
        ASSERT_TRUE(WaitUntil([&] { return run.Swaps() > 0; }, 20s));
        ASSERT_EQ(kill(run.process().pid(), signal), 0);
        const auto code = run.process().WaitForExit(20s);
        ASSERT_TRUE(code) << "still running after signal " << signal;
        EXPECT_EQ(*code, 0) << run.process().Output();
        EXPECT_FALSE(run.x11().FindWindowByTitle(kTitle));
    }
}

TEST(RendererWindow, WithoutA1024By768ModeAsksAndYesRunsInAWindow) {
    RendererRun run(ScreenOf(800, 600));
    ASSERT_TRUE(run.serverOk());
    const auto question = run.WaitForWindow(kQuestionTitle, 20s);
    ASSERT_TRUE(question) << run.process().Output();
    // Nothing is drawn while the question is open.
    EXPECT_FALSE(run.x11().FindWindowByTitle(kTitle));

    ASSERT_TRUE(SendKeyTo(run.display(), *question, "Return"));
    const auto window = run.WaitForWindow(kTitle, 20s);
    ASSERT_TRUE(window) << run.process().Output();
    ASSERT_TRUE(WaitUntil([&] { return run.Swaps() >= 5; }, 20s));

    // Windowed: a 1024 x 768 client area, not stretched over the 800 x 600
    // screen (there is no window manager, so there is no frame around it).
    const auto geometry = run.x11().Geometry(*window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->width, 1024);
    EXPECT_EQ(geometry->height, 768);
    EXPECT_EQ(run.x11().ScreenWidth(), 800);

    ASSERT_TRUE(SendKey(run.display(), "Escape"));
    const auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0);
    EXPECT_FALSE(run.x11().FindWindowByTitle(kTitle));
}

TEST(RendererWindow, WithoutA1024By768ModeNoEndsWithoutAWindow) {
    RendererRun run(ScreenOf(1280, 1024));
    const auto question = run.WaitForWindow(kQuestionTitle, 20s);
    ASSERT_TRUE(question) << run.process().Output();
    ASSERT_TRUE(SendKeyTo(run.display(), *question, "Escape"));
    const auto code = run.process().WaitForExit(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0);
    EXPECT_FALSE(run.x11().FindWindowByTitle(kTitle));
    EXPECT_EQ(run.Swaps(), 0u);
    // The screen keeps its size: declining touched no display mode.
    EXPECT_EQ(run.x11().ScreenWidth(), 1280);
}

} // namespace
} // namespace kestrune::test
