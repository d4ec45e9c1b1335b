// `cmake --install` into a folder of the test's own, and the installed
// commands as an ordinary user meets them: the layout xscreensaver and the
// desktop look for, the settings dialog saving into the user's settings
// folder because the installation is not the user's to write, and the
// screensaver started by its command.

#include "renderer/shell/renderer_mode.h"
#include "tests/support/child_process.h"
#include "tests/support/show_check.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_user.h"
#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The settings dialog's "設定" button, in the dialog's client area.
constexpr int kSaveButtonX = 324 + 38;
constexpr int kSaveButtonY = 200 + 12;

bool Executable(const fs::path& path) {
    return access(path.c_str(), X_OK) == 0 && fs::is_regular_file(path);
}

TEST(Installation, SettingsSaveToTheUsersFolderAndKestruneRunsTheShow) {
    const TempFolder temporary("kestrune-install");
    ASSERT_TRUE(temporary.Ok());
    const fs::path folder = temporary.Path();
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    const fs::path prefix = folder / "prefix";
    {
        ChildProcess::Options install;
        install.arguments = {"--install", KESTRUNE_BUILD_DIR, "--prefix", prefix.string()};
        install.outputPath = (folder / "install.txt").string();
        ASSERT_EQ(RunProgram(KESTRUNE_CMAKE_COMMAND, install, 120s), 0)
            << ReadBytes(folder / "install.txt");
    }

    // The layout.
    const fs::path programs = prefix / "lib" / "kestrune";
    for (const char* program : {"Kestrune.scr", "Kestrune.dll", "kestrune-hack"}) {
        EXPECT_TRUE(Executable(programs / program)) << program;
    }
    EXPECT_TRUE(fs::is_regular_file(programs / "README.md"));
    EXPECT_TRUE(Executable(prefix / "bin" / "kestrune"));
    EXPECT_TRUE(Executable(prefix / "bin" / "kestrune-settings"));
    const fs::path hack = prefix / "libexec" / "xscreensaver" / "kestrune";
    EXPECT_EQ(fs::canonical(hack), fs::canonical(programs / "kestrune-hack"));
    // xscreensaver's settings leave out a pause at its default, which the
    // renderer then takes as its own: the two must agree.
    EXPECT_NE(ReadBytes(prefix / "share" / "xscreensaver" / "config" / "kestrune.xml")
                  .find("default=\"" + std::to_string(kDefaultFrameDelayMicroseconds) + "\""),
              std::string::npos);
    EXPECT_NE(ReadBytes(prefix / "share" / "applications" / "kestrune-settings.desktop")
                  .find("\nExec=" + (prefix / "bin" / "kestrune-settings").string() + "\n"),
              std::string::npos);

    TestUser user(folder / "home");
    if (!user.Ok()) {
        GTEST_SKIP() << "the installation is checked as an ordinary user, who cannot write "
                        "into it, and none could be made: "
                     << user.WhyNot();
    }
    XvfbServer server(1024, 768, /*anyLocalUser=*/true);
    ASSERT_TRUE(server.Ok());
    X11Connection x11(server.DisplayName());
    ChildProcess::Options options;
    options.environment = {{"DISPLAY", server.DisplayName()},
                           {"SDL_VIDEODRIVER", "x11"},
                           {"SDL_AUDIODRIVER", "dummy"},
                           {"ASAN_OPTIONS", WholeProgramSanitizerOptions()}};

    // kestrune-settings, and the dialog's "設定": the settings land in
    // ~/.config/kestrune, made by the save for the user alone.
    options.outputPath = (folder / "settings.txt").string();
    const auto dialog = user.Start((prefix / "bin" / "kestrune-settings").string(), options);
    std::optional<WindowGeometry> geometry;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto window = x11.FindWindowByTitle("<Kestrune>");
            geometry = window ? x11.Geometry(*window) : std::nullopt;
            return geometry && geometry->viewable;
        },
        60s))
        << ReadBytes(folder / "settings.txt");
    ChildProcess::Options click;
    click.arguments = {"mousemove",
                       "--sync",
                       std::to_string(geometry->x + kSaveButtonX),
                       std::to_string(geometry->y + kSaveButtonY),
                       "click",
                       "1"};
    click.environment = {{"DISPLAY", server.DisplayName()}};
    ASSERT_EQ(RunProgram("/usr/bin/xdotool", click, 10s), 0);
    ASSERT_EQ(dialog->WaitForExit(30s), 0) << ReadBytes(folder / "settings.txt");
    const fs::path userFolder = user.Home() / ".config" / "kestrune";
    EXPECT_TRUE(ReadBytes(userFolder / "Kestrune.ini").starts_with("[Section]\r\n"));
    struct stat status {};
    ASSERT_EQ(stat(userFolder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777u, 0700u);
    EXPECT_FALSE(fs::exists(programs / "Kestrune.ini"));

    // kestrune: the show, fullscreen, until Escape, with the pictures the host
    // wrote into the user's cache folder (there were none before).
    options.outputPath = (folder / "show.txt").string();
    const auto show = user.Start((prefix / "bin" / "kestrune").string(), options);
    ASSERT_TRUE(x11.WaitForWindow("Kestrune_VC", 60s)) << ReadBytes(folder / "show.txt");
    const auto rendererRuns = [&] {
        const std::vector<std::string> names = user.Processes();
        return std::find(names.begin(), names.end(), "Kestrune.dll") != names.end();
    };
    EXPECT_TRUE(WaitForTheShow(x11, {}, rendererRuns, 120s)) << ReadBytes(folder / "show.txt");
    ASSERT_TRUE(SendKey(server.DisplayName(), "Escape"));
    EXPECT_EQ(show->WaitForExit(30s), 0) << ReadBytes(folder / "show.txt");
}

} // namespace
} // namespace kestrune::test
