// The show as an xscreensaver hack, under the real xscreensaver daemon on a
// private virtual X server: the daemon runs as an ordinary user made for the
// test (it launches no hack as root), with a settings file that lists
// Kestrune alone, installed where that user can reach it.

#include "tests/support/child_process.h"
#include "tests/support/show_check.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_user.h"
#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(XscreensaverHack, ActivatedItShowsTheShowAndDeactivatedNothingIsLeftRunning) {
    const TempFolder temporary("kestrune-xscreensaver");
    ASSERT_TRUE(temporary.Ok());
    const fs::path folder = temporary.Path();
    // The user's home lies inside: the user must get through.
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    TestUser user(folder / "home");
    if (!user.Ok()) {
        GTEST_SKIP() << "xscreensaver launches no hack as root, and no ordinary user could "
                        "be made to run it: "
                     << user.WhyNot();
    }
    // The launcher and the renderer side by side, as installed: the user may
    // not enter the build tree.
    const fs::path programs = folder / "programs";
    fs::create_directory(programs);
    for (const char* program : {"kestrune-hack", "Kestrune.dll"}) {
        CopyProgram(fs::path(KESTRUNE_BIN_DIR) / program, programs / program);
    }
    XvfbServer server(1024, 768, /*anyLocalUser=*/true);
    ASSERT_TRUE(server.Ok());
    X11Connection x11(server.DisplayName());

    // Kestrune alone, shown when asked, with no lock and no fade.
    const fs::path settings = user.Home() / ".xscreensaver";
    std::ofstream(settings) << "mode:\tone\n"
                               "selected:\t0\n"
                               "lock:\tFalse\n"
                               "fade:\tFalse\n"
                               "unfade:\tFalse\n"
                               "splash:\tFalse\n"
                               "timeout:\t2:00:00\n"
                               "cycle:\t0:00:00\n"
                               "programs:\t\"Kestrune\" "
                            << (programs / "kestrune-hack").string() << " --root \\n\n";
    ASSERT_TRUE(user.Give(settings));

    ChildProcess::Options daemonOptions;
    daemonOptions.arguments = {"--no-splash", "--verbose"};
    daemonOptions.environment = {{"DISPLAY", server.DisplayName()},
                                 {"ASAN_OPTIONS", WholeProgramSanitizerOptions()}};
    const fs::path log = folder / "xscreensaver.log";
    daemonOptions.outputPath = log.string();
    const auto daemon = user.Start("/usr/bin/xscreensaver", daemonOptions);
    const auto command = [&](const char* what) {
        ChildProcess::Options options;
        options.arguments = {what};
        options.environment = {{"DISPLAY", server.DisplayName()}};
        const std::optional<int> code = user.Run("/usr/bin/xscreensaver-command", options, 30s);
        return code && *code == 0;
    };
    const auto running = [&](const std::string& name) {
        const std::vector<std::string> names = user.Processes();
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    ASSERT_TRUE(WaitUntil([&] { return command("-version"); }, 60s, 500ms))
        << ReadBytes(log.string());

    ASSERT_TRUE(command("-activate"));
    // The launcher has become the renderer, which draws the show.
    ASSERT_TRUE(WaitForTheShow(
        x11, {}, [&] { return running("Kestrune.dll"); }, 120s))
        << ReadBytes(log.string());
    EXPECT_FALSE(running("kestrune-hack"));

    ASSERT_TRUE(command("-deactivate"));
    EXPECT_TRUE(WaitUntil([&] { return !running("Kestrune.dll"); }, 30s))
        << ReadBytes(log.string());

    // The daemon stays until it is told to go; then nothing of the
    // user's is left.
    ASSERT_TRUE(command("-exit"));
    EXPECT_TRUE(WaitUntil([&] { return user.Processes().empty(); }, 30s))
        << ::testing::PrintToString(user.Processes()) << ReadBytes(log.string());
}

} // namespace
} // namespace kestrune::test
