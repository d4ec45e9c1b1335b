// Starting programs and making folders: plain POSIX, no window system.
#include "host/forms/system_services.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrune::forms {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

TEST(StartProgram, RunsTheProgramWithCleanSignalsAndLeavesNoZombie) {
    const fs::path folder = test::MakeTemporaryFolder("kestrune-start-");
    ASSERT_FALSE(folder.empty());
    const fs::path program = folder / "program";
    {
        // It notes its process id, waits for the word to go on, then notes
        // its signal state as the program it becomes (the shell itself blocks
        // signals while it waits for a command of its own).
        std::ofstream script(program);
        script << "#!/bin/sh\n"
               << "echo $$ > '" << (folder / "pid.new").string() << "'\n"
               << "mv '" << (folder / "pid.new").string() << "' '" << (folder / "pid").string()
               << "'\n"
               << "while [ ! -e '" << (folder / "go").string() << "' ]; do sleep 0.05; done\n"
               << "exec grep -E '^Sig(Blk|Ign)' /proc/self/status > '"
               << (folder / "signals").string() << "'\n";
    }
    fs::permissions(program, fs::perms::owner_all);

    // The host's own blocked and ignored signals are not the program's.
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    const auto previousUsr2 = std::signal(SIGUSR2, SIG_IGN);
    const std::unique_ptr<StartedProgram> started = StartProgram(program.string());
    std::signal(SIGUSR2, previousUsr2);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ASSERT_TRUE(started);

    ASSERT_TRUE(test::WaitUntil([&] { return fs::exists(folder / "pid"); }, seconds(10)));
    EXPECT_TRUE(started->Running());
    std::ofstream(folder / "go").close();
    // Once the program has ended, its process is gone altogether: collected,
    // not left as a zombie of the host.
    const fs::path process = "/proc/" + std::to_string(std::stoi(test::ReadBytes(folder / "pid")));
    EXPECT_TRUE(test::WaitUntil([&] { return !fs::exists(process); }, seconds(10)))
        << "the ended program stays as " << test::ReadBytes(process / "stat");
    EXPECT_TRUE(test::WaitUntil([&] { return !started->Running(); }, seconds(10)));

    std::istringstream signals(test::ReadBytes(folder / "signals"));
    std::string label;
    unsigned long long blockedMask = 1;
    unsigned long long ignoredMask = 1;
    signals >> label >> std::hex >> blockedMask >> label >> ignoredMask;
    EXPECT_EQ(blockedMask, 0u);
    // Signals 32 and 33 belong to the C library, whose spawn hands them on
    // as ignored; the library sets them up again wherever it uses them.
    EXPECT_EQ(ignoredMask & ~(3ull << 31), 0u);

    EXPECT_FALSE(StartProgram((folder / "missing").string()));
    fs::permissions(program, fs::perms::owner_read);
    EXPECT_FALSE(StartProgram(program.string()));
    fs::remove_all(folder);
}

TEST(CreateFolder, MakesOneNewFolder) {
    const fs::path folder = test::MakeTemporaryFolder("kestrune-folder-");
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(CreateFolder((folder / "r_vosk").string()));
    EXPECT_TRUE(fs::is_directory(folder / "r_vosk"));
    EXPECT_FALSE(CreateFolder((folder / "r_vosk").string())) << "an existing folder is not new";
    EXPECT_FALSE(CreateFolder((folder / "a" / "b").string())) << "only one level is made";
    EXPECT_FALSE(CreateFolder(""));
    fs::remove_all(folder);
}

} // namespace
} // namespace kestrune::forms
