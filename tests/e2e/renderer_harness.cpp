#include "tests/e2e/renderer_harness.h"

#include "host/pictures/texture_pictures.h"
#include "tests/support/temporary_folder.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace kestrune::test {

RendererRun::RendererRun(const Options& options)
    : m_folder(MakeTemporaryFolder("kestrune-e2e")),
      m_server(options.screenWidth, options.screenHeight) {
    if (!m_server.Ok()) {
        return;
    }
    std::filesystem::create_directories(TextureFolder());
    if (options.withPictures) {
        SaveTexturePictures(TextureFolder().string());
    }
    for (const auto& [name, bytes] : options.textureFiles) {
        std::ofstream(TextureFolder() / name, std::ios::binary) << bytes;
    }
    m_x11 = std::make_unique<X11Connection>(m_server.DisplayName());
    if (options.start) {
        Start("Kestrune.dll");
    }
}

void RendererRun::Start(const std::string& program, const std::vector<std::string>& arguments) {
    m_process.reset();
    ChildProcess::Options child;
    child.arguments = arguments;
    child.environment = {
        {"DISPLAY", m_server.DisplayName()},
        {"SDL_VIDEODRIVER", "x11"},
        {"XDG_CACHE_HOME", (m_folder / "cache").string()},
        {"SDL_OPENGL_LIBRARY", KESTRUNE_SWAP_COUNTER},
        {"KESTRUNE_SWAP_COUNT_FILE", (m_folder / "swaps").string()},
        {"ASAN_OPTIONS", WholeProgramSanitizerOptions()},
    };
    child.outputPath = (m_folder / "output.txt").string();
    m_process =
        std::make_unique<ChildProcess>(std::string(KESTRUNE_BIN_DIR) + "/" + program, child);
}

RendererRun::~RendererRun() {
    m_process.reset(); // kills a renderer that still runs
    m_x11.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

unsigned long long RendererRun::Swaps() const {
    return std::strtoull(ReadBytes((m_folder / "swaps").string()).c_str(), nullptr, 10);
}

bool RendererRun::WaitForMoreSwaps(unsigned long long count, std::chrono::milliseconds deadline) {
    const unsigned long long target = Swaps() + count;
    return WaitUntil([&] { return Swaps() >= target; }, deadline);
}

FocusThief::FocusThief(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {
    if (!m_display) {
        return;
    }
    const Window root = DefaultRootWindow(m_display);
    XSelectInput(m_display, root, SubstructureNotifyMask);
    m_window = XCreateSimpleWindow(m_display, root, 0, 0, 200, 100, 0, 0, 0);
    XSelectInput(m_display, m_window, StructureNotifyMask);
    XSync(m_display, False);
}

FocusThief::~FocusThief() {
    if (m_display) {
        XCloseDisplay(m_display); // takes the window with it
    }
}

bool FocusThief::TakeFocus() {
    if (!m_display) {
        return false;
    }
    XMapRaised(m_display, m_window);
    XEvent event;
    // The focus can only go to a window that is viewable.
    XWindowEvent(m_display, m_window, StructureNotifyMask, &event);
    while (event.type != MapNotify) {
        XWindowEvent(m_display, m_window, StructureNotifyMask, &event);
    }
    return GiveFocusTo(m_window);
}

bool FocusThief::GiveFocusTo(XWindow window) {
    if (!m_display) {
        return false;
    }
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
    XSync(m_display, False);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus == window;
}

bool FocusThief::SawMinimiseRequestFor(XWindow window) {
    if (!m_display) {
        return false;
    }
    // WM_CHANGE_STATE with IconicState, sent to the root window: what
    // XIconifyWindow asks of a window manager.
    const Atom changeState = XInternAtom(m_display, "WM_CHANGE_STATE", False);
    XSync(m_display, False);
    XEvent event;
    while (XCheckTypedEvent(m_display, ClientMessage, &event)) {
        if (event.xclient.message_type == changeState && event.xclient.data.l[0] == IconicState) {
            m_minimiseRequests.push_back(event.xclient.window);
        }
    }
    return std::find(m_minimiseRequests.begin(), m_minimiseRequests.end(), window) !=
           m_minimiseRequests.end();
}

} // namespace kestrune::test
