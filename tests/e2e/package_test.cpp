// The Debian package as scripts/package.sh builds it: its fields, its files,
// and its programs started from those files alone, unpacked into a folder of
// the test's own, so that a file left out of the package or a path that only
// holds in the build tree shows.

#include "tests/support/child_process.h"
#include "tests/support/show_check.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool Executable(const fs::path& path) {
    return access(path.c_str(), X_OK) == 0 && fs::is_regular_file(path);
}

// What a short program run printed ("" when it failed), up to `endingAt`.
std::string OutputOf(const std::string& program, std::vector<std::string> arguments,
                     const fs::path& folder, char endingAt = '\0') {
    ChildProcess::Options options;
    options.arguments = std::move(arguments);
    options.outputPath = (folder / "output.txt").string();
    const std::string output =
        RunProgram(program, options, 120s) == 0 ? ReadBytes(folder / "output.txt") : "";
    return output.substr(0, output.find(endingAt));
}

TEST(DebianPackage, BuildsWithItsFieldsAndItsProgramsRunFromItsFiles) {
    for (const char* tool : {"/usr/bin/dpkg-buildpackage", "/usr/bin/dh"}) {
        if (!Executable(tool)) {
            GTEST_SKIP() << tool << " is not installed (dpkg-dev, debhelper; scripts/setup.sh "
                         << "installs them): no package can be built";
        }
    }
    const TempFolder temporary("kestrune-package");
    ASSERT_TRUE(temporary.Ok());
    const fs::path folder = temporary.Path();

    // Built where this build's next run finds its compiler cache warm. The
    // script also fails on what lintian and desktop-file-validate report.
    ChildProcess::Options build;
    build.arguments = {KESTRUNE_BUILD_DIR "/package"};
    build.outputPath = (folder / "path.txt").string();
    build.errorPath = (folder / "build.txt").string();
    ASSERT_EQ(RunProgram(KESTRUNE_SOURCE_DIR "/scripts/package.sh", build, 2700s), 0)
        << ReadBytes(folder / "build.txt");
    std::string deb = ReadBytes(folder / "path.txt");
    deb = deb.substr(0, deb.find('\n'));
    const std::string architecture =
        OutputOf("/usr/bin/dpkg", {"--print-architecture"}, folder, '\n');
    EXPECT_EQ(fs::path(deb).filename(), "kestrune_" KESTRUNE_VERSION "-1_" + architecture + ".deb");

    // Its fields: the libraries the programs load, found by dpkg-shlibdeps
    // with the versions they need, libGL, which SDL opens by name, and the
    // programs it works with.
    const std::string fields = "\n" + OutputOf("/usr/bin/dpkg-deb", {"-f", deb}, folder);
    for (const std::string& line : std::initializer_list<std::string>{
             "Package: kestrune", "Version: " KESTRUNE_VERSION "-1",
             "Architecture: " + architecture, "Recommends: xscreensaver, fonts-ipafont-gothic"}) {
        EXPECT_NE(fields.find("\n" + line + "\n"), std::string::npos) << line << " in\n" << fields;
    }
    for (const char* library :
         {"libc6 (>= ", "libstdc++6 (>= ", "libsdl2-2.0-0 (>= ", "libsdl2-mixer-2.0-0 (>= ",
          "libqt6widgets6 (>= ", "libcdio19 (>= ", "libx11-6", "libglu1-mesa", "libgl1"}) {
        EXPECT_NE(fields.find(library), std::string::npos) << library << " in\n" << fields;
    }

    // Its files, unpacked as dpkg would install them: all under /usr.
    const fs::path root = folder / "root";
    OutputOf("/usr/bin/dpkg-deb", {"-x", deb, root.string()}, folder);
    ASSERT_EQ(FolderListing(root.string()), "usr\n");
    // The other programs run below.
    EXPECT_TRUE(Executable(root / "usr/bin/kestrune"));
    const fs::path hack = root / "usr/libexec/xscreensaver/kestrune";
    EXPECT_EQ(fs::weakly_canonical(hack),
              fs::weakly_canonical(root / "usr/lib/kestrune/kestrune-hack"));
    for (const char* file :
         {"lib/kestrune/README.md", "share/xscreensaver/config/kestrune.xml",
          "share/man/man6/kestrune.6.gz", "share/man/man6/kestrune-settings.6.gz",
          "share/doc/kestrune/copyright", "share/doc/kestrune/changelog.Debian.gz"}) {
        EXPECT_TRUE(fs::is_regular_file(root / "usr" / file)) << file;
    }
    EXPECT_NE(ReadBytes(root / "usr/share/applications/kestrune-settings.desktop")
                  .find("\nExec=/usr/bin/kestrune-settings\n"),
              std::string::npos);

    // The hack in a window of the test's, as xscreensaver starts it: it
    // writes the pictures and becomes the renderer beside it.
    XvfbServer server(1024, 768);
    ASSERT_TRUE(server.Ok());
    X11Connection x11(server.DisplayName());
    const ScreenArea area{100, 80, 480, 360};
    const XWindow given = x11.CreateWindow(area.x, area.y, area.width, area.height);
    ChildProcess::Options options;
    options.environment = {{"DISPLAY", server.DisplayName()},
                           {"SDL_VIDEODRIVER", "x11"},
                           {"SDL_AUDIODRIVER", "dummy"},
                           {"XDG_CACHE_HOME", (folder / "cache").string()},
                           {"ASAN_OPTIONS", WholeProgramSanitizerOptions()}};
    options.arguments = {"--window-id", std::to_string(given)};
    options.outputPath = (folder / "hack.txt").string();
    ChildProcess hackRun(hack.string(), options);
    EXPECT_TRUE(WaitForTheShow(
        x11, area, [&] { return hackRun.Running(); }, 120s))
        << ReadBytes(folder / "hack.txt");
    EXPECT_TRUE(fs::is_regular_file(folder / "cache/r_vosk/Kestrune1.bmp"));
    kill(hackRun.Pid(), SIGTERM);
    EXPECT_EQ(hackRun.WaitForExit(20s), 0) << ReadBytes(folder / "hack.txt");

    // kestrune-settings: the dialog opens, and closes when asked.
    options.arguments = {};
    options.outputPath = (folder / "settings.txt").string();
    ChildProcess dialog((root / "usr/bin/kestrune-settings").string(), options);
    const auto window = x11.WaitForWindow("<Kestrune>", 60s);
    ASSERT_TRUE(window) << ReadBytes(folder / "settings.txt");
    ASSERT_TRUE(x11.RequestClose(*window));
    EXPECT_EQ(dialog.WaitForExit(30s), 0) << ReadBytes(folder / "settings.txt");
}

} // namespace
} // namespace kestrune::test
