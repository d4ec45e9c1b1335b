#include "tests/e2e/host/host_harness.h"

#include "host/startup/Kestrune_B.h"
#include "host/startup/numeric_text.h"
#include "tests/support/temporary_folder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestrune::test {

HostInstall::HostInstall(const Options& options)
    : m_folder(MakeTemporaryFolder("kestrune-host-")),
      m_server(options.screenWidth, options.screenHeight) {
    if (m_folder.empty() || !m_server.Ok()) {
        return;
    }
    std::filesystem::create_directories(ProgramFolder());
    const std::filesystem::path bin = KESTRUNE_BIN_DIR;
    CopyProgram(bin / "Kestrune.scr", ProgramFolder() / "Kestrune.scr");
    switch (options.renderer) {
    case Renderer::Real:
        CopyProgram(bin / "Kestrune.dll", ProgramFolder() / "Kestrune.dll");
        break;
    case Renderer::StandIn:
        CopyProgram(KESTRUNE_RENDERER_STAND_IN, ProgramFolder() / "Kestrune.dll");
        break;
    case Renderer::Missing:
        break;
    }
    m_x11 = std::make_unique<X11Connection>(m_server.DisplayName());
    m_windows = XOpenDisplay(m_server.DisplayName().c_str());
}

HostInstall::~HostInstall() {
    if (m_windows) {
        XCloseDisplay(m_windows);
    }
    m_x11.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void HostInstall::WriteSettings(int bgmKind, int bgmRepeat, const std::string& bgmFile) {
    const std::string file = SettingsFile().string();
    WriteIniValue(kSettingsSection, kBgmKindKey, NumberText(bgmKind), file);
    WriteIniValue(kSettingsSection, kBgmRepeatKey, NumberText(bgmRepeat), file);
    WriteIniValue(kSettingsSection, kBgmFileKey, bgmFile, file);
}

std::unique_ptr<ChildProcess>
HostInstall::Start(const std::vector<std::string>& arguments,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
    ChildProcess::Options child;
    child.arguments = arguments;
    child.environment = {
        {"DISPLAY", m_server.DisplayName()},
        {"SDL_VIDEODRIVER", "x11"},
        {"XDG_CACHE_HOME", (m_folder / "cache").string()},
        {"XDG_CONFIG_HOME", (m_folder / "config").string()},
        {"SDL_AUDIODRIVER", "disk"},
        {"SDL_DISKAUDIOFILE", AudioOutput().string()},
        {"KESTRUNE_STAND_IN_REPORT", StandInReport().string()},
        {"ASAN_OPTIONS", WholeProgramSanitizerOptions()},
    };
    for (const auto& [name, value] : environment) {
        // The binding is captured through a reference of its own: clang 14,
        // which checks the names, cannot capture a structured binding.
        const auto same =
            std::find_if(child.environment.begin(), child.environment.end(),
                         [&name = name](const auto& entry) { return entry.first == name; });
        if (same != child.environment.end()) {
            same->second = value;
        } else {
            child.environment.emplace_back(name, value);
        }
    }
    child.unset = {"QT_QPA_PLATFORM"};
    child.outputPath = (m_folder / ("output-" + std::to_string(m_starts++) + ".txt")).string();
    return std::make_unique<ChildProcess>((ProgramFolder() / "Kestrune.scr").string(), child);
}

XWindow HostInstall::CreateWindow(const std::string& title, int width, int height) {
    const Window window = XCreateSimpleWindow(
        m_windows, DefaultRootWindow(m_windows), 0, 0, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, 0, WhitePixel(m_windows, DefaultScreen(m_windows)));
    if (!title.empty()) {
        XStoreName(m_windows, window, title.c_str());
        XChangeProperty(m_windows, window, XInternAtom(m_windows, "_NET_WM_NAME", False),
                        XInternAtom(m_windows, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
    }
    XMapWindow(m_windows, window);
    XSync(m_windows, False);
    WaitUntil(
        [&] {
            const auto geometry = m_x11->Geometry(window);
            return geometry && geometry->viewable;
        },
        std::chrono::seconds(10));
    return window;
}

void HostInstall::DestroyWindow(XWindow window) {
    XDestroyWindow(m_windows, window);
    XSync(m_windows, False);
}

std::vector<XWindow> HostInstall::Children(XWindow window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<XWindow> result;
    if (XQueryTree(m_windows, window, &root, &parent, &children, &count) && children) {
        result.assign(children, children + count);
        XFree(children);
    }
    return result;
}

} // namespace kestrune::test
