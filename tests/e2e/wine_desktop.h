#pragma once

#include "tests/support/child_process.h"
#include "tests/support/x11_session.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::test {

// One Wine session on a private virtual X server of a given size, for one
// test: the Wine prefix and its settings come from scripts/wine-env.sh
// around the test program; the Windows build from KESTRUNE_WINDOWS_BUILD.
// Wine keeps one desktop per session with the display it started on, so
// each test ends any session of the prefix, starts its own on its own X
// server, and ends it again when done.
class WineDesktop {
public:
    WineDesktop(int width = 1024, int height = 768);
    ~WineDesktop();
    WineDesktop(const WineDesktop&) = delete;
    WineDesktop& operator=(const WineDesktop&) = delete;

    // Why the session cannot run (no X server, no Windows build, no Wine
    // prefix), or empty when it can.
    const std::string& Problem() const { return m_problem; }
    const std::string& DisplayName() const { return m_server.DisplayName(); }
    X11Connection& X11() { return *m_x11; }

    // A file of the Windows build, for example "bin/Kestrune.dll".
    std::filesystem::path BuildFile(const std::string& relative) const;
    // The Wine prefix's drive C:.
    std::filesystem::path DriveC() const;
    // A folder of the test's own, removed afterwards.
    const std::filesystem::path& Scratch() const { return m_scratch; }

    // A Linux path as Windows programs under Wine name it (drive Z: is /).
    static std::string WindowsPathOf(const std::filesystem::path& path);

    // Starts a Windows program under Wine on this desktop, with
    // `environment` added to the test's; what it writes goes to `outputPath`
    // (and standard error to `errorPath` when given).
    std::unique_ptr<ChildProcess>
    Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
          const std::string& outputPath, const std::string& errorPath = "",
          const std::vector<std::pair<std::string, std::string>>& environment = {});

    struct Result {
        std::optional<int> code; // nothing when it outlived the deadline
        std::string output;      // standard output (and error, unless kept apart)
    };
    // Runs a Windows program to its end; standard error is dropped when
    // `separateErrors` is set.
    Result Run(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               std::chrono::milliseconds deadline, bool separateErrors = false);

    // The window probe: FindWindowA's view of a top-level window by title,
    // as one line of facts (class=, style=, window=, client=, visible=,
    // text=), waiting up to `seconds`; nothing when there is none.
    std::optional<std::string> FindWindow(const std::string& title, double seconds);
    // The same, once the window is visible (shown, not only created).
    std::optional<std::string> FindShownWindow(const std::string& title, double seconds);
    // Whether no window of that title is left within `seconds`.
    bool WindowGone(const std::string& title, double seconds);
    // Posts WM_CLOSE to the window of that title, as another program would.
    bool PostClose(const std::string& title);

private:
    void EndSession();
    std::optional<std::string> Probe(const std::string& command, const std::string& title,
                                     double seconds);

    std::string m_problem;
    std::filesystem::path m_build;
    std::filesystem::path m_scratch;
    XvfbServer m_server;
    std::unique_ptr<X11Connection> m_x11;
    int m_runs = 0;
};

// One "name=value" field of a probe's facts line, or empty.
std::string FactOf(const std::string& facts, const std::string& name);

} // namespace kestrune::test
