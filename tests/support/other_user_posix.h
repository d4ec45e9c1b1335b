#pragma once

#include <optional>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrune::test {

// Runs `check` in a forked child as the user `uid`, so that what the check
// meets (folder and file permissions, a missing password entry) is that
// user's. Only root can become another user; anyone else runs checks as
// itself. Gives the check's verdict, or nothing when the child could not
// become `uid`: the test then skips with a message saying so.
template <typename Check> std::optional<bool> RunAsUser(uid_t uid, Check check) {
    if (geteuid() != 0 && geteuid() != uid) {
        return std::nullopt;
    }
    constexpr int kCouldNotBecome = 100;
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() != uid && (setgid(uid) != 0 || setuid(uid) != 0)) {
            _exit(kCouldNotBecome);
        }
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == kCouldNotBecome) {
        return std::nullopt;
    }
    return WEXITSTATUS(status) == 0;
}

// Runs `check` without privileges, where permissions apply: as "nobody" when
// the tests run as root (as the README's command runs them), else as the
// caller itself.
template <typename Check> std::optional<bool> RunUnprivileged(Check check) {
    if (geteuid() != 0) {
        return RunAsUser(geteuid(), check);
    }
    const passwd* nobody = getpwnam("nobody");
    return nobody ? RunAsUser(nobody->pw_uid, check) : std::nullopt;
}

// A user id that no password entry names, for a user without a home.
inline uid_t UserIdWithoutEntry() {
    uid_t uid = 54321;
    while (getpwuid(uid)) {
        ++uid;
    }
    return uid;
}

} // namespace kestrune::test
