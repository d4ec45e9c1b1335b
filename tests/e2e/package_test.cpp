// The Debian package as scripts/package.sh builds it: its fields, the files
// it installs, and its programs started from those files alone, unpacked into
// a folder of the test's own, so that a file left out of the package or a
// path that only holds in the build tree shows.

#include "tests/support/child_process.h"
#include "tests/support/show_check.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <unistd.h>

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The settings dialog's "設定" button, in the dialog's client area.
constexpr int kSaveButtonX = 324 + 38;
constexpr int kSaveButtonY = 200 + 12;

// The window the hack is given, as xscreensaver gives it one.
constexpr ScreenArea kHackArea{100, 80, 480, 360};

bool Executable(const fs::path& path) {
    return access(path.c_str(), X_OK) == 0 && fs::is_regular_file(path);
}

// The output of a short program run, or nothing when it failed.
std::optional<std::string> OutputOf(const std::string& program, std::vector<std::string> arguments,
                                    const fs::path& scratch) {
    ChildProcess::Options options;
    options.arguments = std::move(arguments);
    options.outputPath = (scratch / "output.txt").string();
    if (RunProgram(program, options, 120s) != 0) {
        return std::nullopt;
    }
    return ReadBytes(options.outputPath);
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// "Name: value" lines, as dpkg-deb -f prints a package's fields.
std::map<std::string, std::string> FieldsOf(const std::string& text) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (const auto colon = line.find(": "); colon != std::string::npos) {
            fields[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return fields;
}

TEST(DebianPackage, BuildsWithItsFieldsAndItsProgramsRunFromItsFiles) {
    for (const char* tool : {"/usr/bin/dpkg-buildpackage", "/usr/bin/dh"}) {
        if (!Executable(tool)) {
            GTEST_SKIP() << tool << " is not installed (dpkg-dev, debhelper): scripts/setup.sh "
                         << "installs it; without it no package is built";
        }
    }
    const TempFolder temporary("kestrune-package");
    ASSERT_TRUE(temporary.Ok());
    const fs::path folder = temporary.Path();

    // Built into a folder of this build's own, where a rebuild finds its
    // compiler cache warm. The script also runs lintian and
    // desktop-file-validate, and fails on what they report.
    ChildProcess::Options build;
    build.arguments = {KESTRUNE_BUILD_DIR "/package"};
    build.outputPath = (folder / "path.txt").string();
    build.errorPath = (folder / "build.txt").string();
    ASSERT_EQ(RunProgram(KESTRUNE_SOURCE_DIR "/scripts/package.sh", build, 2700s), 0)
        << ReadBytes(folder / "build.txt");
    const std::string deb = FirstLine(ReadBytes(folder / "path.txt"));
    const std::string architecture =
        FirstLine(OutputOf("/usr/bin/dpkg", {"--print-architecture"}, folder).value_or(""));
    EXPECT_EQ(fs::path(deb).filename(), "kestrune_" KESTRUNE_VERSION "-1_" + architecture + ".deb");

    // Its fields: the libraries the programs load, found by dpkg-shlibdeps
    // with the versions they need, libGL, which SDL opens by name, and the
    // programs it works with.
    const auto fieldsFound = FieldsOf(
        OutputOf("/usr/bin/dpkg-deb",
                 {"-f", deb, "Package", "Version", "Architecture", "Depends", "Recommends"}, folder)
            .value_or(""));
    const auto field = [&](const std::string& name) {
        const auto found = fieldsFound.find(name);
        return found == fieldsFound.end() ? std::string() : found->second;
    };
    EXPECT_EQ(field("Package"), "kestrune");
    EXPECT_EQ(field("Version"), KESTRUNE_VERSION "-1");
    EXPECT_EQ(field("Architecture"), architecture);
    const std::string depends = field("Depends");
    for (const char* library :
         {"libc6 (>= ", "libstdc++6 (>= ", "libsdl2-2.0-0 (>= ", "libsdl2-mixer-2.0-0 (>= ",
          "libqt6widgets6 (>= ", "libcdio19 (>= ", "libx11-6", "libglu1-mesa", "libgl1"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
    }
    const std::string recommends = field("Recommends");
    EXPECT_NE(recommends.find("xscreensaver"), std::string::npos) << recommends;
    EXPECT_NE(recommends.find("fonts-ipafont-gothic"), std::string::npos) << recommends;

    // Its files, unpacked as dpkg would install them: all under /usr.
    const fs::path root = folder / "root";
    ASSERT_EQ(OutputOf("/usr/bin/dpkg-deb", {"-x", deb, root.string()}, folder), "");
    EXPECT_EQ(FolderListing(root.string()), "usr\n");
    const fs::path programs = root / "usr" / "lib" / "kestrune";
    for (const fs::path& program :
         {programs / "Kestrune.scr", programs / "Kestrune.dll", programs / "kestrune-hack",
          root / "usr" / "bin" / "kestrune", root / "usr" / "bin" / "kestrune-settings"}) {
        EXPECT_TRUE(Executable(program)) << program;
    }
    const fs::path hack = root / "usr" / "libexec" / "xscreensaver" / "kestrune";
    EXPECT_EQ(fs::weakly_canonical(hack), fs::weakly_canonical(programs / "kestrune-hack"));
    const fs::path share = root / "usr" / "share";
    for (const fs::path& file :
         {programs / "README.md", share / "xscreensaver" / "config" / "kestrune.xml",
          share / "man" / "man6" / "kestrune.6.gz",
          share / "man" / "man6" / "kestrune-settings.6.gz",
          share / "doc" / "kestrune" / "copyright",
          share / "doc" / "kestrune" / "changelog.Debian.gz"}) {
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    }
    EXPECT_NE(ReadBytes(share / "applications" / "kestrune-settings.desktop")
                  .find("\nExec=/usr/bin/kestrune-settings\n"),
              std::string::npos);

    // The hack, as xscreensaver starts it, in a window of the test's: it
    // writes the pictures and starts the renderer beside it.
    XvfbServer server(1024, 768);
    ASSERT_TRUE(server.Ok());
    X11Connection x11(server.DisplayName());
    const XWindow given =
        x11.CreateWindow(kHackArea.x, kHackArea.y, kHackArea.width, kHackArea.height);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", given);
    ChildProcess::Options options;
    options.environment = {{"DISPLAY", server.DisplayName()},
                           {"SDL_VIDEODRIVER", "x11"},
                           {"SDL_AUDIODRIVER", "dummy"},
                           {"HOME", (folder / "home").string()},
                           {"XDG_CACHE_HOME", (folder / "cache").string()},
                           {"XDG_CONFIG_HOME", (folder / "config").string()},
                           {"ASAN_OPTIONS", WholeProgramSanitizerOptions()}};
    options.arguments = {"--window-id", id};
    options.outputPath = (folder / "hack.txt").string();
    ChildProcess hackRun(hack.string(), options);
    ASSERT_TRUE(hackRun.Started());
    EXPECT_TRUE(WaitForTheShow(
        x11, kHackArea, [&] { return hackRun.Running(); }, 120s))
        << ReadBytes(folder / "hack.txt");
    EXPECT_TRUE(fs::is_regular_file(folder / "cache" / "r_vosk" / "Kestrune1.bmp"));
    ASSERT_EQ(kill(hackRun.Pid(), SIGTERM), 0);
    EXPECT_EQ(hackRun.WaitForExit(20s), 0) << ReadBytes(folder / "hack.txt");

    // kestrune-settings, and the dialog's "設定": the unpacked host saves
    // beside itself, since this folder is its user's to write.
    options.arguments = {};
    options.outputPath = (folder / "settings.txt").string();
    ChildProcess dialog((root / "usr" / "bin" / "kestrune-settings").string(), options);
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
    ASSERT_EQ(dialog.WaitForExit(30s), 0) << ReadBytes(folder / "settings.txt");
    EXPECT_TRUE(ReadBytes(programs / "Kestrune.ini").starts_with("[Section]\r\n"));
}

} // namespace
} // namespace kestrune::test
