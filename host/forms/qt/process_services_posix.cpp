#include "host/forms/system_services.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

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

// The end of a started program, as the thread that collects it saw it.
struct ProgramEnd {
    std::atomic<bool> ended{false};
};

class PosixStartedProgram final : public StartedProgram {
public:
    PosixStartedProgram(pid_t pid, std::shared_ptr<const ProgramEnd> end)
        : m_pid(pid), m_end(std::move(end)) {}

    bool Running() const override {
        if (m_end) {
            return !m_end->ended.load();
        }
        // Nobody else collects this child: it is looked at here, and
        // collected once it has ended.
        int status = 0;
        pid_t result = 0;
        while ((result = waitpid(m_pid, &status, WNOHANG)) < 0 && errno == EINTR) {
        }
        if (result == m_pid || (result < 0 && errno == ECHILD)) {
            m_ended = true;
        }
        return !m_ended;
    }

private:
    pid_t m_pid;
    std::shared_ptr<const ProgramEnd> m_end;
    mutable bool m_ended = false;
};

} // namespace

std::unique_ptr<StartedProgram> StartProgram(const std::string& path) {
    SpawnAttributes attributes;
    if (!attributes.Ok()) {
        return nullptr;
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
        return nullptr;
    }
    // The bare path and nothing else, as the program's whole command line.
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, attributes.Get(), argv, environ) != 0) {
        return nullptr;
    }
    // Nobody waits for the program, but its end is collected at once so that
    // it never lingers as a zombie while the host runs on, and noted, so that
    // the host can tell that the program has ended. A thread of its own waits
    // for exactly this child: no signal handler that could take the children
    // of Qt's own process handling, and no dependence on the event loop
    // running.
    auto end = std::make_shared<ProgramEnd>();
    try {
        std::thread([pid, end] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            end->ended = true;
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread to spare the program still runs; its end is then
        // looked for whenever the host asks.
        end.reset();
    }
    return std::make_unique<PosixStartedProgram>(pid, std::move(end));
}

bool CreateFolder(const std::string& path) {
    // Read, write and search for everyone, less the user's umask, as any
    // folder a program makes.
    return !path.empty() && mkdir(path.c_str(), 0777) == 0;
}

} // namespace kestrune::forms
