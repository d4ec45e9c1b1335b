#include "host/forms/system_services.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kestrune::forms {

namespace {

// Posix spawn attributes, released however the start ends.
class SpawnAttributes {
public:
    SpawnAttributes() { m_ok = posix_spawnattr_init(&m_attributes) == 0; }
    ~SpawnAttributes() {
        if (m_ok) {
            posix_spawnattr_destroy(&m_attributes);
        }
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    bool Ok() const { return m_ok; }
    posix_spawnattr_t* Get() { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes{};
    bool m_ok = false;
};

} // namespace

bool StartProgram(const std::string& path) {
    SpawnAttributes attributes;
    if (!attributes.Ok()) {
        return false;
    }
    // The program starts as from a fresh shell: no signal blocked, none
    // ignored, whatever the host (or Qt's threads) had set for itself.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    if (posix_spawnattr_setsigmask(attributes.Get(), &none) != 0 ||
        posix_spawnattr_setsigdefault(attributes.Get(), &all) != 0 ||
        posix_spawnattr_setflags(attributes.Get(),
                                 POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) != 0) {
        return false;
    }
    // The bare path and nothing else, as the program's whole command line.
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, attributes.Get(), argv, environ) != 0) {
        return false;
    }
    // Nobody waits for the program, but its end is collected at once so that
    // it never lingers as a zombie while the host runs on. A thread of its own
    // waits for exactly this child: no signal handler that could take the
    // children of Qt's own process handling, and no dependence on the event
    // loop running.
    try {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread to spare the program still runs; only its end
        // goes uncollected until the host ends.
    }
    return true;
}

bool CreateFolder(const std::string& path) {
    // Read, write and search for everyone, less the user's umask, as any
    // folder a program makes.
    return !path.empty() && mkdir(path.c_str(), 0777) == 0;
}

} // namespace kestrune::forms
