#pragma once

#include "tests/support/child_process.h"
#include "tests/support/x11_session.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct _XDisplay;

namespace kestrune::test {

// The two programs installed side by side in a folder of the test's own, with
// a texture folder of its own, on a private virtual X server: what a user's
// machine looks like to Kestrune.scr.
class HostInstall {
public:
    enum class Renderer {
        Real,    // the real Kestrune.dll
        StandIn, // the stand-in that only opens the renderer's window
        Missing, // no Kestrune.dll beside the host
    };
    struct Options {
        Renderer renderer = Renderer::StandIn;
        int screenWidth = 1024;
        int screenHeight = 768;
    };

    explicit HostInstall(const Options& options);
    HostInstall() : HostInstall(Options{}) {}
    ~HostInstall();
    HostInstall(const HostInstall&) = delete;
    HostInstall& operator=(const HostInstall&) = delete;

    bool Ok() const { return m_x11 && m_x11->Ok(); }
    const std::string& DisplayName() const { return m_server.DisplayName(); }
    X11Connection& X11() { return *m_x11; }

    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path ProgramFolder() const { return m_folder / "kestrune"; }
    std::filesystem::path TextureFolder() const { return m_folder / "cache" / "r_vosk"; }
    std::filesystem::path SettingsFile() const { return ProgramFolder() / "Kestrune.ini"; }
    // What the stand-in renderer found in the texture folder when it started.
    std::filesystem::path StandInReport() const { return m_folder / "stand-in-report.txt"; }
    // Where SDL's disk audio driver writes what the host plays.
    std::filesystem::path AudioOutput() const { return m_folder / "audio.raw"; }

    // Writes the three settings as the settings dialog would.
    void WriteSettings(int bgmKind, int bgmRepeat, const std::string& bgmFile);

    // Starts Kestrune.scr with `arguments`, and `environment` on top of the
    // installation's own (display, texture folder, disk audio).
    std::unique_ptr<ChildProcess>
    Start(const std::vector<std::string>& arguments,
          const std::vector<std::pair<std::string, std::string>>& environment = {});

    std::optional<XWindow> WaitForWindow(const std::string& title,
                                         std::chrono::milliseconds deadline) {
        return m_x11->WaitForWindow(title, deadline);
    }
    bool WaitForNoWindow(const std::string& title, std::chrono::milliseconds deadline) {
        return m_x11->WaitForNoWindow(title, deadline);
    }

    // A plain top-level window made by the test, mapped, with `title` (may be
    // empty); destroyed with the installation unless destroyed before.
    XWindow CreateWindow(const std::string& title, int width, int height);
    void DestroyWindow(XWindow window);
    std::vector<XWindow> Children(XWindow window);

private:
    std::filesystem::path m_folder;
    XvfbServer m_server;
    std::unique_ptr<X11Connection> m_x11;
    ::_XDisplay* m_windows = nullptr; // the connection that owns the test's windows
    int m_starts = 0;
};

} // namespace kestrune::test
