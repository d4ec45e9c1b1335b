// The start-up's mode dispatch with the real Kestrune.scr: which command
// lines run, preview, configure or end, the single-instance guard and the
// missing renderer.
#include "tests/e2e/host/host_harness.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kStartDeadline = 60s;
constexpr auto kEndDeadline = 30s;

TEST(HostDispatch, UnknownModesEndAfterPreparingTheTextureFolder) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"/a"}, {"/x"}, {"s"}}) {
        auto host = install.Start(arguments);
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << arguments[0] << host->Output();
    }
    EXPECT_FALSE(std::filesystem::exists(install.StandInReport())) << "a renderer was started";
    struct stat folder {};
    ASSERT_EQ(stat(install.TextureFolder().c_str(), &folder), 0) << "no texture folder";
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
}

TEST(HostDispatch, EverySpellingOfRunRunsTheScreensaver) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"/S"}, {"-s"}, {}}) {
        auto host = install.Start(arguments);
        const auto renderer = install.WaitForWindow("Kestrune_VC", kStartDeadline);
        ASSERT_TRUE(renderer) << host->Output();
        EXPECT_TRUE(host->Running());
        install.X11().RequestClose(*renderer);
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
        ASSERT_TRUE(install.WaitForNoWindow("Kestrune_VC", kEndDeadline));
    }
}

TEST(HostDispatch, ARunningCopyEndsEveryStartAtOnce) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    const XWindow parent = install.CreateWindow("", 152, 112);
    for (const std::string title : {"Kestrune_Main", "<Kestrune>"}) {
        const XWindow running = install.CreateWindow(title, 10, 10);
        for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
                 {"/s"}, {}, {"/c"}, {"/p", std::to_string(parent)}}) {
            auto host = install.Start(arguments);
            EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << title << host->Output();
        }
        install.DestroyWindow(running);
    }
    // Nothing of a run happened: no folder, no renderer, no preview.
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(std::filesystem::exists(install.StandInReport()));
    EXPECT_TRUE(install.Children(parent).empty());
}

TEST(HostDispatch, AMissingRendererIsReportedAndStopsAllButThePreview) {
    HostInstall install({.renderer = HostInstall::Renderer::Missing});
    ASSERT_TRUE(install.Ok());
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"/s"}, {"/c"}}) {
        auto host = install.Start(arguments);
        // The message box, captioned with the program's title, waits for OK.
        const auto box = install.WaitForWindow("Kestrune", kStartDeadline);
        ASSERT_TRUE(box) << host->Output();
        EXPECT_TRUE(host->Running());
        EXPECT_FALSE(install.X11().FindWindowByTitle("<Kestrune>"));
        EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_Main"));
        ASSERT_TRUE(SendKeyTo(install.DisplayName(), *box, "Return"));
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    }

    const XWindow parent = install.CreateWindow("", 152, 112);
    auto preview = install.Start({"/p", std::to_string(parent)});
    EXPECT_TRUE(WaitUntil([&] { return !install.Children(parent).empty(); }, kStartDeadline))
        << preview->Output();
}

} // namespace
} // namespace kestrune::test
