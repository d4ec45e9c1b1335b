#pragma once

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace kestrune::test {

// Waits until `condition` holds or the deadline passes, polling every few
// milliseconds. Returns whether it held.
template <typename Condition>
bool WaitUntil(Condition&& condition, std::chrono::milliseconds deadline,
               std::chrono::milliseconds poll = std::chrono::milliseconds(20));

// A program started by a test, with its own environment additions. Standard
// output and error go to files the test can read. The process is killed if
// the object dies while it still runs. On Windows a program named without an
// extension is looked up with ".exe", as the system's own start does, so that
// tests name the programs the same way on both platforms.
class ChildProcess {
public:
    struct Options {
        std::vector<std::string> arguments;                           // after the program
        std::vector<std::pair<std::string, std::string>> environment; // set or override
        std::vector<std::string> unset; // removed from the environment
        std::string workingDirectory;   // empty: the test's own
        std::string outputPath;         // stdout+stderr; empty: discarded
        std::string errorPath;          // stderr alone; empty: with stdout
    };

    ChildProcess(const std::string& program, const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // True while the process has not been reaped.
    bool Running();

    // The exit code once the process has ended by itself within the deadline;
    // nothing if it still runs (it is left running). A process killed by a
    // signal gives 128 + the signal number, as a shell reports it.
    std::optional<int> WaitForExit(std::chrono::milliseconds deadline);

    // Ends the process now (SIGKILL, or TerminateProcess with the same code)
    // and reaps it.
    void Kill();

    // What the process wrote, when an output path was given.
    std::string Output() const;

private:
    pid_t m_pid = -1;
    void* m_handle = nullptr; // the process handle on Windows
    std::optional<int> m_exitCode;
    std::string m_outputPath;
};

// ASAN_OPTIONS for a whole program started by a test: in a sanitizer build
// it is still checked for memory errors, but not for leaks, since Mesa's
// driver is unloaded before exit and what it keeps can then no longer be told
// from the program's own, and the host ends at once, as it is meant to,
// without freeing what its forms hold. (The programs' objects are
// leak-checked in the suites that call them directly.)
inline std::string WholeProgramSanitizerOptions() {
    std::string options = "detect_leaks=0";
    if (const char* existing = std::getenv("ASAN_OPTIONS"); existing && *existing) {
        options = std::string(existing) + ":" + options;
    }
    return options;
}

// Runs a program to its end and returns its exit code (or nothing when it
// could not start or outlived the deadline, in which case it is killed).
std::optional<int> RunProgram(const std::string& program, const ChildProcess::Options& options,
                              std::chrono::milliseconds deadline);

template <typename Condition>
bool WaitUntil(Condition&& condition, std::chrono::milliseconds deadline,
               std::chrono::milliseconds poll) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (true) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(poll);
    }
}

} // namespace kestrune::test
