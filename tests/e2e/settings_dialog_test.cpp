// Kestrune.scr /c as a user meets it, on a private virtual X server: the
// settings dialog opens centred with its painted look, a second start ends at
// once, a choice made with the mouse and keyboard is saved to the settings
// file, and without the renderer there is a message and no dialog.
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kDialogTitle = "<Kestrune>";
// The dialog's client area and where it sits on a 1024 x 768 screen with no
// window manager: centred across, at a third of the free height.
constexpr int kDialogWidth = 496;
constexpr int kDialogHeight = 246;
constexpr int kDialogLeft = (1024 - kDialogWidth) / 2;
constexpr int kDialogTop = (768 - kDialogHeight) / 3;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A program folder of the test's own, holding copies of the host (and the
// renderer, when asked), so that the settings file the dialog writes is this
// test's alone.
class ProgramFolder {
public:
    explicit ProgramFolder(bool withRenderer) : m_path(MakeTemporaryFolder("kestrune-settings-")) {
        fs::copy_file(fs::path(KESTRUNE_BIN_DIR) / "Kestrune.scr", m_path / "Kestrune.scr");
        if (withRenderer) {
            fs::copy_file(fs::path(KESTRUNE_BIN_DIR) / "Kestrune.dll", m_path / "Kestrune.dll");
        }
    }
    ~ProgramFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

    // Starts the host with `arguments` on `display`.
    std::unique_ptr<ChildProcess> Start(const std::string& display,
                                        const std::vector<std::string>& arguments) const {
        ChildProcess::Options options;
        options.arguments = arguments;
        options.environment = {{"DISPLAY", display},
                               {"QT_QPA_PLATFORM", "xcb"},
                               {"HOME", m_path.string()},
                               {"XDG_CACHE_HOME", (m_path / "cache").string()},
                               {"XDG_CONFIG_HOME", (m_path / "config").string()}};
        options.outputPath = (m_path / ("output-" + std::to_string(++m_starts))).string();
        return std::make_unique<ChildProcess>((m_path / "Kestrune.scr").string(), options);
    }

private:
    fs::path m_path;
    mutable int m_starts = 0;
};

// Runs xdotool with `arguments` on `display`, as a user's mouse and keys.
bool XDoTool(const std::string& display, const std::vector<std::string>& arguments) {
    ChildProcess::Options options;
    options.arguments = arguments;
    options.environment = {{"DISPLAY", display}};
    const std::optional<int> code = RunProgram("/usr/bin/xdotool", options, 10s);
    return code && *code == 0;
}

// A click at a point of the dialog's client area.
bool ClickAt(const std::string& display, int x, int y) {
    return XDoTool(display, {"mousemove", "--sync", std::to_string(kDialogLeft + x),
                             std::to_string(kDialogTop + y), "click", "1"});
}

struct Pixel {
    int red = 0, green = 0, blue = 0;
};

Pixel ScreenPixel(const std::vector<std::uint8_t>& screen, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * 1024 + static_cast<std::size_t>(x)) * 3;
    return Pixel{screen[at], screen[at + 1], screen[at + 2]};
}

TEST(SettingsDialogE2eTest, ConfigureChooseTheCdAndSave) {
    XvfbServer server;
    ASSERT_TRUE(server.ok());
    X11Connection x11(server.display());
    ASSERT_TRUE(x11.ok());
    ProgramFolder folder(true);

    const auto dialog = folder.Start(server.display(), {"/c"});
    ASSERT_TRUE(dialog->started());
    std::optional<XWindow> window;
    ASSERT_TRUE(WaitUntil(
        [&] {
            window = x11.FindWindowByTitle(kDialogTitle);
            const auto geometry = window ? x11.Geometry(*window) : std::nullopt;
            return geometry && geometry->viewable;
        },
        30s))
        << dialog->Output();
    const WindowGeometry geometry = *x11.Geometry(*window);
    EXPECT_EQ(geometry.width, kDialogWidth);
    EXPECT_EQ(geometry.height, kDialogHeight);
    EXPECT_EQ(geometry.x, kDialogLeft);
    EXPECT_EQ(geometry.y, kDialogTop);

    // The painted look reaches the screen: the dark-blue gradient in the
    // margin, palest at mid-height, and the grey grain of the panel.
    std::vector<std::uint8_t> screen;
    ASSERT_TRUE(WaitUntil(
        [&] {
            screen = x11.ScreenshotRgb();
            const Pixel top = ScreenPixel(screen, kDialogLeft + 4, kDialogTop);
            const Pixel middle = ScreenPixel(screen, kDialogLeft + 4, kDialogTop + 123);
            const Pixel panel = ScreenPixel(screen, kDialogLeft + 412, kDialogTop + 46);
            return top.red == 0 && top.blue == 30 && middle.red == 220 && middle.blue == 250 &&
                   panel.red == panel.blue && panel.red >= 160 && panel.red <= 224;
        },
        20s));
    WritePpm("settings_dialog.ppm", 1024, 768, screen);

    // A second start while the dialog is open ends at once, in any mode.
    for (const char* mode : {"/c", "/s"}) {
        const auto second = folder.Start(server.display(), {mode});
        EXPECT_EQ(second->WaitForExit(20s), 0) << mode;
    }
    EXPECT_TRUE(dialog->Running());

    // "音楽CD", a track typed into the box, then "設定".
    ASSERT_TRUE(XDoTool(server.display(), {"windowfocus", "--sync", std::to_string(*window)}));
    ASSERT_TRUE(ClickAt(server.display(), 12 + 50, 16 + 62));
    ASSERT_TRUE(ClickAt(server.display(), 12 + 122, 16 + 62));
    ASSERT_TRUE(XDoTool(server.display(), {"key", "--clearmodifiers", "ctrl+a"}));
    ASSERT_TRUE(XDoTool(server.display(), {"type", "--delay", "50", "12"}));
    ASSERT_TRUE(ClickAt(server.display(), 324 + 38, 200 + 12));
    ASSERT_EQ(dialog->WaitForExit(20s), 0) << dialog->Output();

    EXPECT_EQ(ReadFile(folder.path() / "Kestrune.ini"), "[Section]\r\n"
                                                        "\x42\x47\x4D\x8B\xE6\x95\xAA= 1\r\n"
                                                        "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 12\r\n"
                                                        "\x42\x47\x4D\xCC\xA7\xB2\xD9=\r\n");
    EXPECT_FALSE(x11.FindWindowByTitle(kDialogTitle));
}

TEST(SettingsDialogE2eTest, MissingRendererShowsItsMessageAndNoDialog) {
    XvfbServer server;
    ASSERT_TRUE(server.ok());
    X11Connection x11(server.display());
    ProgramFolder folder(false);

    const auto host = folder.Start(server.display(), {"/c"});
    // The message box is up: the process waits for it, and no dialog shows.
    std::optional<XWindow> box;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = x11.FindWindowByTitle(KESTRUNE_PROGRAM_TITLE);
            return box.has_value();
        },
        30s))
        << host->Output();
    EXPECT_TRUE(host->Running());
    EXPECT_FALSE(x11.FindWindowByTitle(kDialogTitle));
    // Answered with Return, the process ends, still without a dialog.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return SendKeyTo(server.display(), *box, "Return") && host->WaitForExit(2s).has_value();
        },
        30s));
    EXPECT_FALSE(x11.FindWindowByTitle(kDialogTitle));
    EXPECT_FALSE(fs::exists(folder.path() / "Kestrune.ini"));
}

} // namespace
} // namespace kestrune::test
