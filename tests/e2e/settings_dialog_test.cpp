// Kestrune.scr /c as a user meets it, on a private virtual X server: the
// settings dialog opens centred with its painted look, a second start ends at
// once while it is open, and a choice made with the mouse and the keyboard is
// saved to the settings file. (The missing renderer's message, which comes
// instead of the dialog, is tested with the other modes in host_e2e_test.)
#include "tests/e2e/host/host_harness.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kDialogTitle = "<Kestrune>";
// The dialog's client area and where it sits on a 1024 x 768 screen with no
// window manager (so no frame): centred across, at a third of the free height.
constexpr int kScreenWidth = 1024;
constexpr int kDialogWidth = 496;
constexpr int kDialogHeight = 246;
constexpr int kDialogLeft = (1024 - kDialogWidth) / 2;
constexpr int kDialogTop = (768 - kDialogHeight) / 3;

// Runs xdotool on the installation's display, as a user's mouse and keys.
bool XDoTool(const HostInstall& install, const std::vector<std::string>& arguments) {
    ChildProcess::Options options;
    options.arguments = arguments;
    options.environment = {{"DISPLAY", install.DisplayName()}};
    const std::optional<int> code = RunProgram("/usr/bin/xdotool", options, 10s);
    return code && *code == 0;
}

// A click at a point of the dialog's client area.
bool ClickAt(const HostInstall& install, int x, int y) {
    return XDoTool(install, {"mousemove", "--sync", std::to_string(kDialogLeft + x),
                             std::to_string(kDialogTop + y), "click", "1"});
}

struct Pixel {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// A pixel of the dialog's client area in a screenshot.
Pixel DialogPixel(const std::vector<std::uint8_t>& screen, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(kDialogTop + y) * kScreenWidth +
                            static_cast<std::size_t>(kDialogLeft + x)) *
                           3;
    return Pixel{screen[at], screen[at + 1], screen[at + 2]};
}

TEST(SettingsDialogE2e, ConfigureChooseTheCdTypeATrackAndSave) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());

    const auto dialog = install.Start({"/c"});
    std::optional<WindowGeometry> geometry;
    std::optional<XWindow> window;
    WaitUntil(
        [&] {
            window = install.X11().FindWindowByTitle(kDialogTitle);
            geometry = window ? install.X11().Geometry(*window) : std::nullopt;
            return (geometry && geometry->viewable) || !dialog->Running();
        },
        60s);
    ASSERT_TRUE(geometry && geometry->viewable) << "Kestrune.scr /c showed no settings dialog\n"
                                                << dialog->Output();
    EXPECT_EQ(geometry->width, kDialogWidth);
    EXPECT_EQ(geometry->height, kDialogHeight);
    EXPECT_EQ(geometry->x, kDialogLeft);
    EXPECT_EQ(geometry->y, kDialogTop);

    // The painted look on the screen: the dark-blue gradient in the margin,
    // palest at mid-height, and the grey grain of the panel.
    std::vector<std::uint8_t> screen;
    EXPECT_TRUE(WaitUntil(
        [&] {
            screen = install.X11().ScreenshotRgb();
            const Pixel top = DialogPixel(screen, 4, 0);
            const Pixel middle = DialogPixel(screen, 4, 123);
            const Pixel panel = DialogPixel(screen, 412, 46);
            return top.red == 0 && top.blue == 30 && middle.red == 220 && middle.blue == 250 &&
                   panel.red == panel.blue && panel.red >= 160 && panel.red <= 224;
        },
        30s));
    // Kept beside the test for a person to look at.
    EXPECT_TRUE(WritePpm("settings_dialog.ppm", kScreenWidth, 768, screen));

    // A second start while the dialog is open ends at once, in any mode,
    // having done nothing: no second dialog (it would not end), no texture
    // file written and no renderer started for a screensaver run.
    for (const char* mode : {"/c", "/s"}) {
        const auto second = install.Start({mode});
        EXPECT_EQ(second->WaitForExit(30s), 0) << mode << second->Output();
    }
    EXPECT_TRUE(std::filesystem::is_empty(install.TextureFolder()));
    EXPECT_FALSE(std::filesystem::exists(install.StandInReport()));
    EXPECT_TRUE(dialog->Running());

    // "音楽CD", track 12 typed into the box, then "設定".
    ASSERT_TRUE(XDoTool(install, {"windowfocus", "--sync", std::to_string(*window)}));
    ASSERT_TRUE(ClickAt(install, 12 + 50, 16 + 62));
    ASSERT_TRUE(ClickAt(install, 12 + 120, 16 + 62));
    ASSERT_TRUE(XDoTool(install, {"key", "ctrl+a"}));
    ASSERT_TRUE(XDoTool(install, {"type", "--delay", "50", "12"}));
    ASSERT_TRUE(ClickAt(install, 324 + 38, 200 + 12));
    ASSERT_EQ(dialog->WaitForExit(30s), 0) << dialog->Output();

    EXPECT_EQ(ReadBytes(install.SettingsFile()), "[Section]\r\n"
                                                 "\x42\x47\x4D\x8B\xE6\x95\xAA= 1\r\n"
                                                 "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 12\r\n"
                                                 "\x42\x47\x4D\xCC\xA7\xB2\xD9=\r\n");
    EXPECT_FALSE(install.X11().FindWindowByTitle(kDialogTitle));
}

} // namespace
} // namespace kestrune::test
