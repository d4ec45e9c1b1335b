#pragma once

#include "tests/e2e/wine_desktop.h"
#include "tests/support/temporary_folder.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrune::test {

// The Windows Kestrune.scr installed in a folder of the test's own under a
// WineDesktop, with the real renderer, a stand-in that only opens the
// renderer's window (tests/e2e/win32/renderer_stand_in_win32.cpp), or none
// beside it; the prefix's texture folder C:\r_vosk starts out missing.
class WineHostInstall {
public:
    enum class Renderer { Real, StandIn, Missing };

    WineHostInstall(WineDesktop& desktop, Renderer renderer);

    bool Ok() const { return m_ok; }
    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path SettingsFile() const { return m_folder / "Kestrune.ini"; }
    std::filesystem::path TextureFolder() const { return m_desktop.DriveC() / "r_vosk"; }
    // What the stand-in renderer wrote when it started: "arguments=..." and
    // one "NAME SIZE" line per texture file it found.
    std::filesystem::path StandInReport() const { return m_folder / "stand-in-report.txt"; }

    // Writes the three settings as the settings dialog would.
    void WriteSettings(int bgmKind, int bgmRepeat, const std::string& bgmFile);

    // Starts Kestrune.scr with `arguments` (and `environment` added).
    std::unique_ptr<ChildProcess>
    Start(const std::vector<std::string>& arguments,
          const std::vector<std::pair<std::string, std::string>>& environment = {});
    // Runs it to its end: its exit code, or nothing when it outlived the
    // deadline (then it is ended).
    std::optional<int> Run(const std::vector<std::string>& arguments);

private:
    WineDesktop& m_desktop;
    std::filesystem::path m_folder;
    bool m_ok = false;
    int m_starts = 0;
};

// The window the system previews screensavers in, as the window probe makes
// it (window-probe parent): a W x H window at the screen's top-left corner.
class PreviewParent {
public:
    PreviewParent(WineDesktop& desktop, int width, int height);
    ~PreviewParent();

    // The window's handle in decimal, as /p takes it; empty when there is none.
    const std::string& Handle() const { return m_handle; }
    // The facts of its first child window (see WineDesktop::FindWindow),
    // once it has one within the deadline.
    std::optional<std::string> WaitForChild(std::chrono::milliseconds deadline);
    // Closes the window (and so destroys its children); whether it ended.
    bool Close();

private:
    std::string Output() const;

    WineDesktop& m_desktop;
    std::filesystem::path m_output;
    std::unique_ptr<ChildProcess> m_probe;
    std::string m_handle;
};

} // namespace kestrune::test
