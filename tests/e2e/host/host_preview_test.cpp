// The preview of the real Kestrune.scr inside windows made by the test, as
// the system's preview area would hold it.
#include "tests/e2e/host/host_harness.h"

#include <gtest/gtest.h>

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
    std::ifstream in(std::string(KESTRUNE_SOURCE_DIR) + "/host/preview/preview_still.ppm",
                     std::ios::binary);
    std::string line;
    for (int header = 0; header < 3; ++header) {
        std::getline(in, line);
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(HostPreview, ShowsTheStillInsideEachParentAndEndsWithIt) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    const XWindow usual = install.CreateWindow("", 152, 112);
    const XWindow larger = install.CreateWindow("", 300, 200);
    auto first = install.Start({"/p", std::to_string(usual)});
    auto second = install.Start({"/P:" + std::to_string(larger)});

    std::optional<WindowGeometry> inUsual;
    std::optional<WindowGeometry> inLarger;
    ASSERT_TRUE(WaitUntil(
        [&] {
            inUsual = ShownChild(install, usual);
            inLarger = ShownChild(install, larger);
            return inUsual && inLarger;
        },
        kStartDeadline))
        << first->Output() << second->Output();
    EXPECT_EQ(inUsual->x, 0);
    EXPECT_EQ(inUsual->y, 0);
    EXPECT_EQ(inUsual->width, 152);
    EXPECT_EQ(inUsual->height, 112);
    EXPECT_EQ(inLarger->width, 300);
    EXPECT_EQ(inLarger->height, 200);

    // Both parents sit at the screen's corner, the larger one on top: it is
    // covered by the still, stretched.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const PictureStats stats = StatsOf(ScreenPart(install, 0, 0, 300, 200));
            return stats.distinctColours > 200 && stats.meanLuma > 10.0;
        },
        10s))
        << "the larger preview shows no picture";
    install.DestroyWindow(larger);
    EXPECT_EQ(second->WaitForExit(kEndDeadline), 0) << "the preview outlived its parent";
    EXPECT_TRUE(first->Running()) << "two previews are independent";

    // The usual size shows the still edge to edge, pixel for pixel.
    const std::vector<std::uint8_t> still = StoredStill();
    ASSERT_EQ(still.size(), 152u * 112u * 3u);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPart(install, 0, 0, 152, 112) == still; }, 10s))
        << "the preview does not show the still";

    // Nothing of a run: no texture folder, no renderer.
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_VC"));

    install.DestroyWindow(usual);
    EXPECT_EQ(first->WaitForExit(kEndDeadline), 0);
}

TEST(HostPreview, NoParentWindowEndsAtOnce) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"/p"}, {"/p", "0"}, {"/p", "123456789"}}) {
        auto host = install.Start(arguments);
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    }
}

} // namespace
} // namespace kestrune::test
