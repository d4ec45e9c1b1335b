// "The screen shows the show", the judgement every whole-program test makes of
// the show, tried on the real renderer: it accepts the show with the saver's
// pictures, and rejects what only looks like it.

#include "tests/e2e/renderer_harness.h"
#include "tests/support/show_check.h"

#include <gtest/gtest.h>

#include <csignal>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

// A short look: long enough for a running show to change a few times.
constexpr auto kRejectionLook = 3s;

::testing::AssertionResult RejectedFor(const ShowWatch& watch, const std::string& reason) {
    if (watch.shown) {
        return ::testing::AssertionFailure() << "accepted";
    }
    if (watch.whyNot.find(reason) == std::string::npos) {
        return ::testing::AssertionFailure() << "rejected for another reason: " << watch.whyNot;
    }
    return ::testing::AssertionSuccess();
}

TEST(TheScreenShowsTheShow, AcceptsTheRealShowAndNothingThatOnlyLooksLikeIt) {
    const ScreenArea screen;
    {
        RendererRun::Options options;
        options.withPictures = true;
        RendererRun run(options);
        ASSERT_TRUE(run.ServerOk());
        const auto runs = [&] { return run.Process().Running(); };
        EXPECT_TRUE(WaitForTheShow(run.X11(), screen, runs, 120s)) << run.Process().Output();
        // No loader message: the saver's pictures all load.
        EXPECT_FALSE(run.X11().FindWindowByTitle("Error"));

        // Its clock held still: the last frame stays on the screen, once the
        // frames already on their way to the X server have landed.
        ASSERT_EQ(kill(run.Process().Pid(), SIGSTOP), 0);
        std::vector<std::uint8_t> last;
        ASSERT_TRUE(WaitUntil(
            [&] {
                auto now = run.X11().ScreenshotRgb();
                return std::exchange(last, std::move(now)) == last;
            },
            30s, 500ms));
        EXPECT_TRUE(RejectedFor(WatchForTheShow(run.X11(), screen, runs, kRejectionLook),
                                "does not change"));

        ASSERT_EQ(kill(run.Process().Pid(), SIGCONT), 0);
        run.Process().Kill();
        EXPECT_TRUE(RejectedFor(WatchForTheShow(run.X11(), screen, runs, kRejectionLook),
                                "no renderer runs"));
    }
    {
        // The show without its pictures: once faded in, a bare sky.
        RendererRun run;
        ASSERT_TRUE(run.ServerOk());
        ASSERT_TRUE(
            WaitUntil([&] { return StatsOf(run.X11().ScreenshotRgb()).meanLuma > 200; }, 120s));
        EXPECT_TRUE(RejectedFor(
            WatchForTheShow(
                run.X11(), screen, [&] { return run.Process().Running(); }, kRejectionLook),
            "too bright"));
    }
    {
        // A message: the question asked on a screen without a 1024 x 768
        // mode, judged where it stands.
        RendererRun::Options options;
        options.withPictures = true;
        options.screenWidth = 1280;
        options.screenHeight = 1024;
        RendererRun run(options);
        ASSERT_TRUE(run.ServerOk());
        std::optional<WindowGeometry> box;
        ASSERT_TRUE(WaitUntil(
            [&] {
                const auto question = run.X11().FindWindowByTitle("Tarq GL");
                box = question ? run.X11().Geometry(*question) : std::nullopt;
                return box && box->viewable;
            },
            60s));
        EXPECT_TRUE(RejectedFor(WatchForTheShow(
                                    run.X11(), {box->x, box->y, box->width, box->height},
                                    [&] { return run.Process().Running(); }, kRejectionLook),
                                "flat"));
    }
}

} // namespace
} // namespace kestrune::test
