// A stand-in for the renderer in the host's whole-program tests: it opens an
// X window titled "Kestrune_VC" (after a delay, to play a slow machine) and
// keeps it until the window is closed or the process is asked to end. Before
// its window opens it notes which texture files exist, so a test can tell
// that the host wrote them before starting the renderer.
//
// Environment:
//   KESTRUNE_STAND_IN_DELAY_MS  milliseconds to wait before opening the window
//   KESTRUNE_STAND_IN_NO_WINDOW set: end at once without a window, as a
//                               renderer that crashes or is declined does
//   KESTRUNE_STAND_IN_REPORT    file to write "NAME SIZE" lines into, one per
//                               texture file present at the start, and then
//                               "window ID" once the window is mapped
#include "common/kestrune_names.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

volatile std::sig_atomic_t g_endRequested = 0;

void RequestEnd(int) {
    g_endRequested = 1;
}

void ReportTextureFiles(const char* reportPath) {
    std::ofstream report(reportPath, std::ios::trunc);
    for (int number = 1; number <= kestrune::kTextureFileCount; ++number) {
        const std::filesystem::path path = kestrune::TextureFilePath(number);
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (!error) {
            report << path.filename().string() << ' ' << size << '\n';
        }
    }
}

} // namespace

int main() {
    std::signal(SIGTERM, RequestEnd);
    std::signal(SIGINT, RequestEnd);
    const char* reportPath = std::getenv("KESTRUNE_STAND_IN_REPORT");
    if (reportPath) {
        ReportTextureFiles(reportPath);
    }
    if (std::getenv("KESTRUNE_STAND_IN_NO_WINDOW")) {
        return 0;
    }
    if (const char* delay = std::getenv("KESTRUNE_STAND_IN_DELAY_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return 1;
    }
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240,
                                              0, 0, BlackPixel(display, DefaultScreen(display)));
    const char* title = kestrune::kRendererWindowTitle;
    XStoreName(display, window, title);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);
    if (reportPath) {
        std::ofstream(reportPath, std::ios::app) << "window " << window << '\n';
    }

    while (!g_endRequested) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if ((event.type == ClientMessage &&
                 static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) ||
                event.type == DestroyNotify) {
                g_endRequested = 1;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
