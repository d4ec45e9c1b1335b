// The Windows Kestrune.scr under Wine, as the system starts it: the mode of
// every command line, the single-instance guard, the missing renderer, the
// screensaver run with the real renderer and its music, and the preview
// inside another program's window.

#include "common/kestrune_names.h"
#include "host/startup/mode_dispatch.h"
#include "tests/e2e/wine_host_install.h"
#include "tests/host/pictures/saver_pictures_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;
using Arguments = std::vector<std::string>;

constexpr auto kStartDeadline = 60s;
constexpr auto kEndDeadline = 30s;

// The facts of a window seen by the window probe, or of the preview parent's
// child (see window_probe.cpp).
bool IsChildWindowStyle(const std::string& facts) {
    return (std::stoul(FactOf(facts, "style"), nullptr, 16) & 0x40000000UL) != 0;
}

std::optional<XWindow> WaitForX11Window(WineDesktop& desktop, const std::string& title) {
    std::optional<XWindow> window;
    WaitUntil(
        [&] {
            window = desktop.X11().FindWindowByTitle(title);
            return window.has_value();
        },
        kStartDeadline);
    return window;
}

TEST(WineHost, EveryCommandLineRunsConfiguresPreviewsOrEnds) {
    WineDesktop desktop;
    WineHostInstall install(desktop, WineHostInstall::Renderer::StandIn);
    ASSERT_TRUE(install.Ok()) << desktop.Problem();

    // An unknown mode ends at once, after the texture folder was made; so
    // does a preview with no window to show in.
    for (const Arguments& arguments :
         {Arguments{"/a"}, Arguments{"/x"}, Arguments{"s"}, Arguments{"/p"}}) {
        EXPECT_EQ(install.Run(arguments), 0) << arguments[0];
    }
    EXPECT_TRUE(std::filesystem::is_directory(install.TextureFolder()));
    EXPECT_FALSE(std::filesystem::exists(install.StandInReport())) << "a renderer was started";

    // Every spelling of run starts the renderer, with no arguments and after
    // the texture files. The system closing the hidden saver form ends the
    // run as the renderer's end would, and leaves the renderer alone.
    for (const Arguments& arguments : {Arguments{"/S"}, Arguments{"-s"}, Arguments{}}) {
        SCOPED_TRACE(arguments.empty() ? "(none)" : arguments[0]);
        std::filesystem::remove(install.StandInReport());
        const auto host = install.Start(arguments);
        const std::optional<XWindow> renderer = WaitForX11Window(desktop, kRendererWindowTitle);
        ASSERT_TRUE(renderer) << host->Output();
        EXPECT_TRUE(host->Running());
        const std::string report = ReadBytes(install.StandInReport());
        EXPECT_EQ(report.rfind("arguments=\n", 0), 0u) << report;
        EXPECT_NE(report.find("Kestrune4.bmp 786486"), std::string::npos) << report;
        ASSERT_TRUE(desktop.PostClose("Kestrune_Main"));
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
        EXPECT_TRUE(desktop.X11().FindWindowByTitle(kRendererWindowTitle));
        ASSERT_TRUE(SendKeyTo(desktop.DisplayName(), *renderer, "Escape"));
        EXPECT_TRUE(WaitUntil(
            [&] { return !desktop.X11().FindWindowByTitle(kRendererWindowTitle); }, kEndDeadline));
    }

    // A renderer that ends without a window ends the run, although a window
    // of another program bears the renderer's title.
    const auto stranger = desktop.Start(desktop.BuildFile("tests/e2e/window-probe.exe"),
                                        {"hold", kRendererWindowTitle, "300"},
                                        (desktop.Scratch() / "stranger.txt").string());
    ASSERT_TRUE(desktop.FindWindow(kRendererWindowTitle, 60));
    const auto ended = install.Start({"/s"}, {{"KESTRUNE_STAND_IN_NO_WINDOW", "1"}});
    EXPECT_EQ(ended->WaitForExit(kEndDeadline), 0) << ended->Output();
    stranger->Kill();
    ASSERT_TRUE(desktop.WindowGone(kRendererWindowTitle, 30));

    // A running copy (its hidden saver form, or its open settings dialog)
    // ends every start at once, the preview's too; nothing of a run happens.
    std::filesystem::remove_all(install.TextureFolder());
    std::filesystem::remove(install.StandInReport());
    PreviewParent parent(desktop, 152, 112);
    ASSERT_FALSE(parent.Handle().empty());
    for (const auto& [title, starts] :
         {std::pair{"Kestrune_Main",
                    std::vector{Arguments{"/s"}, Arguments{"/p", parent.Handle()}}},
          std::pair{"<Kestrune>", std::vector{Arguments{}, Arguments{"/c"}}}}) {
        const auto copy =
            desktop.Start(desktop.BuildFile("tests/e2e/window-probe.exe"), {"hold", title, "300"},
                          (desktop.Scratch() / "hold.txt").string());
        ASSERT_TRUE(desktop.FindWindow(title, 60)) << title;
        for (const Arguments& arguments : starts) {
            EXPECT_EQ(install.Run(arguments), 0) << title << " " << arguments[0];
        }
        copy->Kill();
        ASSERT_TRUE(desktop.WindowGone(title, 30));
    }
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(std::filesystem::exists(install.StandInReport()));
    EXPECT_FALSE(parent.WaitForChild(0ms));
}

TEST(WineHost, AMissingRendererIsReportedAndStopsAllButThePreview) {
    WineDesktop desktop;
    WineHostInstall install(desktop, WineHostInstall::Renderer::Missing);
    ASSERT_TRUE(install.Ok()) << desktop.Problem();
    for (const Arguments& arguments : {Arguments{"/s"}, Arguments{"/c"}}) {
        const auto host = install.Start(arguments);
        // The message box, captioned with the program's title, with its text
        // whole on this Western system, waits for OK.
        const auto box = desktop.FindShownWindow("Kestrune", 60);
        ASSERT_TRUE(box) << arguments[0] << host->Output();
        EXPECT_EQ(FactOf(*box, "text"), kRendererMissingMessage);
        EXPECT_FALSE(desktop.X11().FindWindowByTitle("<Kestrune>"));
        const std::optional<XWindow> window = desktop.X11().FindWindowByTitle("Kestrune");
        ASSERT_TRUE(window);
        ASSERT_TRUE(SendKeyTo(desktop.DisplayName(), *window, "Return"));
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << arguments[0] << host->Output();
    }

    PreviewParent parent(desktop, 152, 112);
    ASSERT_FALSE(parent.Handle().empty());
    const auto preview = install.Start({"/p", parent.Handle()});
    EXPECT_TRUE(parent.WaitForChild(kStartDeadline)) << preview->Output();
    EXPECT_TRUE(parent.Close());
    EXPECT_EQ(preview->WaitForExit(kEndDeadline), 0);
}

// Wine draws a child window only in the process of its top-level window, so
// the still itself cannot be seen on the virtual screen; what the system
// needs of the preview is checked: its place, its size, its life.
TEST(WineHost, ThePreviewBecomesAChildOfTheGivenWindowAtItsSizeAndEndsWithIt) {
    WineDesktop desktop;
    WineHostInstall install(desktop, WineHostInstall::Renderer::StandIn);
    ASSERT_TRUE(install.Ok()) << desktop.Problem();
    for (const auto& [width, height, upper] : {std::tuple{152, 112, true}, {200, 150, false}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        PreviewParent parent(desktop, width, height);
        ASSERT_FALSE(parent.Handle().empty());
        const auto preview = install.Start(upper ? Arguments{"/P", parent.Handle()}
                                                 : Arguments{"/p:" + parent.Handle()});
        const std::optional<std::string> child = parent.WaitForChild(kStartDeadline);
        ASSERT_TRUE(child) << preview->Output();
        EXPECT_EQ(FactOf(*child, "class"), "KestruneForm") << *child;
        EXPECT_EQ(FactOf(*child, "text"), "Preview Window") << *child;
        EXPECT_TRUE(IsChildWindowStyle(*child)) << *child;
        EXPECT_EQ(FactOf(*child, "window"),
                  "0,0," + std::to_string(width) + "," + std::to_string(height));
        EXPECT_EQ(FactOf(*child, "visible"), "1");
        EXPECT_TRUE(preview->Running());
        // The window goes, and the preview with it.
        EXPECT_TRUE(parent.Close());
        EXPECT_EQ(preview->WaitForExit(kEndDeadline), 0) << preview->Output();
    }
    // A preview writes nothing and starts nothing.
    EXPECT_FALSE(std::filesystem::exists(install.TextureFolder()));
    EXPECT_FALSE(std::filesystem::exists(install.StandInReport()));
}

// Whether the raw samples hold anything but silence.
bool HasSound(const std::string& samples) {
    return std::any_of(samples.begin(), samples.end(), [](char byte) { return byte != 0; });
}

TEST(WineHost, TheScreensaverRunsTheRendererWithItsMusicAndEndsWithIt) {
    const char* clip = std::getenv("KESTRUNE_TEST_MP3");
    if (!clip || !*clip) {
        GTEST_SKIP() << "KESTRUNE_TEST_MP3 names no MP3 clip (scripts/test-windows.sh makes one)";
    }
    WineDesktop desktop;
    WineHostInstall install(desktop, WineHostInstall::Renderer::Real);
    ASSERT_TRUE(install.Ok()) << desktop.Problem();
    install.WriteSettings(2, 0, clip);
    // A sound card that writes what it plays into a file: ALSA's file
    // plugin, from the .asoundrc of the HOME the host gets.
    const auto home = desktop.Scratch() / "home";
    const auto sound = desktop.Scratch() / "sound.raw";
    std::filesystem::create_directories(home);
    std::ofstream(home / ".asoundrc") << "pcm.!default { type file; slave.pcm \"null\"; file \""
                                      << sound.string() << "\"; format \"raw\" }\n";

    const auto host = install.Start({"/s"}, {{"HOME", home.string()}});
    ASSERT_TRUE(desktop.FindShownWindow(kRendererWindowTitle, 60)) << host->Output();
    EXPECT_TRUE(host->Running());
    // The texture files, as the saver's pictures are written everywhere.
    EXPECT_EQ(TextureFilesNotCurrent(install.TextureFolder().string()), "");
    // A second copy ends at once.
    EXPECT_EQ(install.Run({"/s"}), 0);
    // The music reaches the sound card while the show runs.
    EXPECT_TRUE(WaitUntil([&] { return HasSound(ReadBytes(sound)); }, kStartDeadline));

    const std::optional<XWindow> renderer = desktop.X11().FindWindowByTitle(kRendererWindowTitle);
    ASSERT_TRUE(renderer);
    ASSERT_TRUE(SendKeyTo(desktop.DisplayName(), *renderer, "Escape"));
    EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    const auto played = std::filesystem::file_size(sound);
    EXPECT_TRUE(desktop.WindowGone(kRendererWindowTitle, 10));
    // The music stopped with the run.
    EXPECT_EQ(std::filesystem::file_size(sound), played);
}

} // namespace
} // namespace kestrune::test
