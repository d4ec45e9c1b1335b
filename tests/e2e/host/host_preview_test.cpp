// The preview of the real Kestrune.scr inside windows made by the test, as
// the system's preview area would hold it.
#include "tests/e2e/host/host_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

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

// The RGB bytes of a rectangle of the screen.
std::vector<std::uint8_t> ScreenPart(HostInstall& install, int x, int y, int width, int height) {
    const std::vector<std::uint8_t> screen = install.X11().ScreenshotRgb();
    const int screenWidth = install.X11().ScreenWidth();
    std::vector<std::uint8_t> part;
    for (int row = y; row < y + height; ++row) {
        const auto begin =
            screen.begin() + (static_cast<std::ptrdiff_t>(row) * screenWidth + x) * 3;
        part.insert(part.end(), begin, begin + static_cast<std::ptrdiff_t>(width) * 3);
    }
    return part;
}

// The stored still's pixels (a binary PPM with a three-line header).
std::vector<std::uint8_t> StoredStill() {
    std::ifstream in(std::string(KESTRUNE_SOURCE_DIR) + "/host/startup/preview_still.ppm",
                     std::ios::binary);
    std::string line;
    for (int header = 0; header < 3; ++header) {
        std::getline(in, line);
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
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
    const std::vector<std::uint8_t> still = StoredStill();
    ASSERT_EQ(still.size(), 152u * 112u * 3u);

    // Two previews started at the same moment are independent, and both
    // show the still edge to edge, pixel for pixel, every time.
    constexpr int kSecondLeft = 200;
    for (int round = 0; round < 3; ++round) {
        const XWindow first = install.CreateWindow("", 152, 112);
        const XWindow second = install.CreateWindow("", 152, 112, kSecondLeft);
        auto inFirst = install.Start({"/p", std::to_string(first)});
        auto inSecond = install.Start({"/P:" + std::to_string(second)});
        EXPECT_TRUE(WaitUntil(
            [&] {
                return ScreenPart(install, 0, 0, 152, 112) == still &&
                       ScreenPart(install, kSecondLeft, 0, 152, 112) == still;
            },
            kStartDeadline))
            << "round " << round << ": a preview does not show the still\n"
            << inFirst->Output() << inSecond->Output();
        const auto child = ShownChild(install, first);
        ASSERT_TRUE(child);
        EXPECT_EQ((std::array{child->x, child->y, child->width, child->height}),
                  (std::array{0, 0, 152, 112}));
        EXPECT_FALSE(StrayTopLevelWindow(install, {first, second}));

        install.DestroyWindow(second);
        EXPECT_EQ(inSecond->WaitForExit(kEndDeadline), 0) << "the preview outlived its parent";
        EXPECT_TRUE(inFirst->Running()) << "two previews are independent";
        install.DestroyWindow(first);
        EXPECT_EQ(inFirst->WaitForExit(kEndDeadline), 0);
    }

    // A larger parent is covered by the still, stretched.
    const XWindow larger = install.CreateWindow("", 300, 200);
    auto inLarger = install.Start({"/p", std::to_string(larger)});
    std::optional<WindowGeometry> child;
    ASSERT_TRUE(WaitUntil([&] { return (child = ShownChild(install, larger)).has_value(); },
                          kStartDeadline))
        << inLarger->Output();
    EXPECT_EQ(child->width, 300);
    EXPECT_EQ(child->height, 200);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const PictureStats stats = StatsOf(ScreenPart(install, 0, 0, 300, 200));
            return stats.distinctColours > 200 && stats.meanLuma > 10.0;
        },
        kStartDeadline))
        << "the larger preview shows no picture";

    // Nothing of a run: no texture folder, no renderer.
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_VC"));
    install.DestroyWindow(larger);
    EXPECT_EQ(inLarger->WaitForExit(kEndDeadline), 0);
}

TEST(HostPreview, WithoutAParentToShowInEndsAtOnceShowingNothing) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    const XWindow inputOnly = install.CreateWindow("", 152, 112, 0, 0, true);
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"/p"}, {"/p", "0"}, {"/p", "123456789"}, {"/p", std::to_string(inputOnly)}}) {
        auto host = install.Start(arguments);
        bool shown = false;
        EXPECT_TRUE(WaitUntil(
            [&] {
                shown = shown || StrayTopLevelWindow(install, {inputOnly}) ||
                        !install.Children(inputOnly).empty();
                return !host->Running();
            },
            kEndDeadline))
            << arguments.back() << ": still running";
        EXPECT_FALSE(shown) << arguments.back() << ": a preview window showed";
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    }
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_VC"));
}

} // namespace
} // namespace kestrune::test
