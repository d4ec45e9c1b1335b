// The preview of the real Kestrune.scr inside windows made by the test, as
// the system's preview area would hold it.
#include "tests/e2e/host/host_harness.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kStartDeadline = 60s;
constexpr auto kEndDeadline = 30s;

// The preview's child window inside `parent` once it is shown there.
std::optional<WindowGeometry> ShownChild(HostInstall& install, XWindow parent) {
    for (const XWindow child : install.Children(parent)) {
        if (auto geometry = install.X11().Geometry(child); geometry && geometry->viewable) {
            return geometry;
        }
    }
    return std::nullopt;
}

// The stored still's pixels: the end of a binary PPM.
std::vector<std::uint8_t> StoredStill() {
    const std::string ppm =
        ReadBytes(std::string(KESTRUNE_SOURCE_DIR) + "/host/preview/preview_still.ppm");
    const std::size_t size = std::min<std::size_t>(ppm.size(), 152 * 112 * 3);
    return std::vector<std::uint8_t>(ppm.end() - static_cast<std::ptrdiff_t>(size), ppm.end());
}

// Whether a window other than the test's own sits mapped on the desktop: a
// preview that failed to go inside its parent would show at the screen's
// corner, and nothing would ever close it.
bool StrayTopLevelWindow(HostInstall& install, const std::vector<XWindow>& own) {
    for (const XWindow window : install.Children(install.X11().Root())) {
        const auto geometry = install.X11().Geometry(window);
        if (geometry && geometry->viewable &&
            std::find(own.begin(), own.end(), window) == own.end()) {
            return true;
        }
    }
    return false;
}

TEST(HostPreview, ShowsTheStillInsideEachParentAndEndsWithIt) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    X11Connection& x11 = install.X11();
    const std::vector<std::uint8_t> still = StoredStill();

    // Two previews started at the same moment are independent, and both
    // show the still edge to edge, pixel for pixel, every time.
    for (int round = 0; round < 3; ++round) {
        const XWindow first = x11.CreateWindow(0, 0, 152, 112);
        const XWindow second = x11.CreateWindow(200, 0, 152, 112);
        auto inFirst = install.Start({"/p", std::to_string(first)});
        auto inSecond = install.Start({"/P:" + std::to_string(second)});
        EXPECT_TRUE(WaitUntil(
            [&] {
                return x11.ScreenshotRgb(0, 0, 152, 112) == still &&
                       x11.ScreenshotRgb(200, 0, 152, 112) == still;
            },
            kStartDeadline))
            << "round " << round << ": a preview does not show the still\n"
            << inFirst->Output() << inSecond->Output();
        EXPECT_FALSE(StrayTopLevelWindow(install, {first, second}));

        x11.DestroyWindow(second);
        EXPECT_EQ(inSecond->WaitForExit(kEndDeadline), 0) << "the preview outlived its parent";
        EXPECT_TRUE(inFirst->Running()) << "two previews are independent";
        x11.DestroyWindow(first);
        EXPECT_EQ(inFirst->WaitForExit(kEndDeadline), 0);
    }

    // A larger parent is covered by the still, stretched.
    const XWindow larger = x11.CreateWindow(0, 0, 300, 200);
    auto inLarger = install.Start({"/p", std::to_string(larger)});
    std::optional<WindowGeometry> child;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const PictureStats stats = StatsOf(x11.ScreenshotRgb(0, 0, 300, 200));
            child = ShownChild(install, larger);
            return child && child->width == 300 && child->height == 200 &&
                   stats.distinctColours > 200 && stats.meanLuma > 10.0;
        },
        kStartDeadline))
        << "the larger preview does not cover its parent with a picture";

    // Nothing of a run: no texture folder, no renderer.
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(x11.FindWindowByTitle("Kestrune_VC"));
    x11.DestroyWindow(larger);
    EXPECT_EQ(inLarger->WaitForExit(kEndDeadline), 0);
}

TEST(HostPreview, WithoutAParentToShowInEndsAtOnceShowingNothing) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    const XWindow inputOnly = install.X11().CreateWindow(0, 0, 152, 112, true);
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"/p"}, {"/p", "0"}, {"/p", "123456789"}, {"/p", std::to_string(inputOnly)}}) {
        auto host = install.Start(arguments);
        bool shown = false;
        WaitUntil(
            [&] {
                shown = shown || StrayTopLevelWindow(install, {inputOnly});
                return !host->Running();
            },
            kEndDeadline);
        EXPECT_FALSE(shown) << arguments.back() << ": a preview window showed";
        EXPECT_EQ(host->WaitForExit(0s), 0) << arguments.back() << host->Output();
    }
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_VC"));
}

} // namespace
} // namespace kestrune::test
