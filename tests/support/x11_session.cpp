#include "tests/support/x11_session.h"

#include "host/forms/qt/x11_window_lookup.h"
#include "tests/support/child_process.h"

#include <algorithm>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/scrnsaver.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrune::test {

XvfbServer::XvfbServer(int width, int height, bool anyLocalUser) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(pipeFds[1]);
    // Made before the fork: the child only calls what is safe there.
    std::vector<const char*> arguments = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                                          screen.c_str(), "-nolisten",  "tcp",      "-noreset"};
    if (anyLocalUser) {
        arguments.push_back("-ac");
    }
    arguments.push_back(nullptr);
    m_pid = fork();
    if (m_pid == 0) {
        close(pipeFds[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execvp("Xvfb", const_cast<char* const*>(arguments.data()));
        _exit(127);
    }
    close(pipeFds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(pipeFds[0]);
    if (!number.empty()) {
        m_display = ":" + number;
    }
}

XvfbServer::~XvfbServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}

X11Connection::X11Connection(const std::string& display)
    : m_display(XOpenDisplay(display.c_str())) {}

X11Connection::~X11Connection() {
    if (m_display) {
        XCloseDisplay(m_display);
    }
}

namespace {

// Errors for windows that vanish while the tree is walked are expected.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

std::optional<XWindow> X11Connection::FindWindowByTitle(const std::string& title) {
    const unsigned long found = forms::x11::FindWindowByTitle(m_display, title);
    return found != 0 ? std::optional<XWindow>(found) : std::nullopt;
}

std::optional<XWindow> X11Connection::WaitForWindow(const std::string& title,
                                                    std::chrono::milliseconds deadline) {
    std::optional<XWindow> window;
    WaitUntil(
        [&] {
            window = FindWindowByTitle(title);
            return window.has_value();
        },
        deadline);
    return window;
}

bool X11Connection::WaitForNoWindow(const std::string& title, std::chrono::milliseconds deadline) {
    return WaitUntil([&] { return !FindWindowByTitle(title); }, deadline);
}

std::optional<WindowGeometry> X11Connection::Geometry(XWindow window) {
    // The window may go between the two requests as well as before them.
    auto previous = XSetErrorHandler(IgnoreXErrors);
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    const bool ok = XGetWindowAttributes(m_display, window, &attributes) &&
                    XTranslateCoordinates(m_display, window, attributes.root, 0, 0, &x, &y, &child);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    if (!ok) {
        return std::nullopt;
    }
    return WindowGeometry{x, y, attributes.width, attributes.height,
                          attributes.map_state == IsViewable};
}

bool X11Connection::RequestClose(XWindow window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(m_display, window, False, NoEventMask, &event);
    XFlush(m_display);
    return sent != 0;
}

XWindow X11Connection::CreateWindow(int x, int y, int width, int height, bool inputOnly) {
    XSetWindowAttributes none{};
    const Window window = XCreateWindow(m_display, DefaultRootWindow(m_display), x, y,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        0, CopyFromParent, inputOnly ? InputOnly : InputOutput,
                                        CopyFromParent, inputOnly ? 0 : CWBackPixel, &none);
    XMapWindow(m_display, window);
    XSync(m_display, False);
    return window;
}

void X11Connection::DestroyWindow(XWindow window) {
    auto previous = XSetErrorHandler(IgnoreXErrors);
    XDestroyWindow(m_display, window);
    XSync(m_display, False);
    XSetErrorHandler(previous);
}

std::optional<XWindow> X11Connection::Parent(XWindow window) {
    auto previous = XSetErrorHandler(IgnoreXErrors);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    const Status ok = XQueryTree(m_display, window, &root, &parent, &children, &count);
    XSetErrorHandler(previous);
    if (!ok) {
        return std::nullopt;
    }
    if (children) {
        XFree(children);
    }
    return parent;
}

XWindow X11Connection::Root() {
    return DefaultRootWindow(m_display);
}

std::vector<XWindow> X11Connection::Children(XWindow window) {
    auto previous = XSetErrorHandler(IgnoreXErrors);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<XWindow> result;
    if (XQueryTree(m_display, window, &root, &parent, &children, &count) && children) {
        result.assign(children, children + count);
        XFree(children);
    }
    XSetErrorHandler(previous);
    return result;
}

void X11Connection::ResizeWindow(XWindow window, int width, int height) {
    XResizeWindow(m_display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(m_display, False);
}

int X11Connection::ScreenWidth() {
    return DisplayWidth(m_display, DefaultScreen(m_display));
}

int X11Connection::ScreenHeight() {
    return DisplayHeight(m_display, DefaultScreen(m_display));
}

std::vector<std::uint8_t> X11Connection::ScreenshotRgb() {
    return ScreenshotRgb(0, 0, ScreenWidth(), ScreenHeight());
}

std::vector<std::uint8_t> X11Connection::ScreenshotRgb(int left, int top, int width, int height) {
    XImage* image =
        XGetImage(m_display, DefaultRootWindow(m_display), left, top, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    std::vector<std::uint8_t> rgb;
    if (!image) {
        return rgb;
    }
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rgb.push_back(static_cast<std::uint8_t>((pixel & image->red_mask) >> 16));
            rgb.push_back(static_cast<std::uint8_t>((pixel & image->green_mask) >> 8));
            rgb.push_back(static_cast<std::uint8_t>(pixel & image->blue_mask));
        }
    }
    XDestroyImage(image);
    return rgb;
}

bool X11Connection::CursorShown() {
    XFixesCursorImage* image = XFixesGetCursorImage(m_display);
    if (!image) {
        return false;
    }
    // Each pixel is ARGB in an unsigned long.
    const bool shown = std::any_of(image->pixels, image->pixels + image->width * image->height,
                                   [](unsigned long pixel) { return (pixel >> 24 & 0xff) != 0; });
    XFree(image);
    return shown;
}

void X11Connection::SetScreenSaverTimeout(std::chrono::seconds timeout) {
    XSetScreenSaver(m_display, static_cast<int>(timeout.count()), 0, DontPreferBlanking,
                    AllowExposures);
    XSync(m_display, False);
}

std::optional<X11Connection::ScreenSaverState> X11Connection::ScreenSaver() {
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    std::optional<ScreenSaverState> state;
    if (info && XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), info)) {
        state =
            ScreenSaverState{info->state == ScreenSaverOn, std::chrono::milliseconds(info->idle)};
    }
    XFree(info);
    return state;
}

namespace {

// Runs xdotool with `arguments` until it succeeds. A window is found by its
// title before it is mapped (a message box names itself first), and an
// unmapped window cannot take the focus: xdotool then fails without sending
// the key, so it is tried again until the window can take it.
bool RunXdotool(const std::string& display, std::vector<std::string> arguments) {
    ChildProcess::Options options;
    options.arguments = std::move(arguments);
    options.environment = {{"DISPLAY", display}};
    return WaitUntil(
        [&] {
            const auto code = RunProgram("/usr/bin/xdotool", options, std::chrono::seconds(10));
            return code && *code == 0;
        },
        std::chrono::seconds(20), std::chrono::milliseconds(200));
}

} // namespace

bool SendKey(const std::string& display, const std::string& key) {
    return RunXdotool(display, {"key", key});
}

bool SendKeyTo(const std::string& display, XWindow window, const std::string& key) {
    return RunXdotool(display, {"windowfocus", std::to_string(window), "key", key});
}

bool WritePpm(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    const bool ok = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    return std::fclose(file) == 0 && ok;
}

PictureStats StatsOf(const std::vector<std::uint8_t>& rgb) {
    PictureStats stats;
    std::set<std::uint32_t> colours;
    double luma = 0.0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        luma += 0.299 * rgb[i] + 0.587 * rgb[i + 1] + 0.114 * rgb[i + 2];
        stats.maxChannel =
            std::max({stats.maxChannel, int(rgb[i]), int(rgb[i + 1]), int(rgb[i + 2])});
        if (colours.size() < 1000) {
            colours.insert(std::uint32_t(rgb[i]) << 16 | std::uint32_t(rgb[i + 1]) << 8 |
                           rgb[i + 2]);
        }
    }
    const std::size_t pixels = rgb.size() / 3;
    stats.meanLuma = pixels ? luma / static_cast<double>(pixels) : 0.0;
    stats.distinctColours = static_cast<int>(colours.size());
    return stats;
}

} // namespace kestrune::test
