#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

struct _XDisplay;

namespace kestrune::test {

// A private virtual X server (Xvfb) with one screen of the given size and 24
// bits per pixel, for one test. Each test gets its own display, so tests that
// need another screen size, or run side by side, never meet. With
// `anyLocalUser` the server is started without access control (-ac), so that
// programs the test runs as another user reach it too.
class XvfbServer {
public:
    XvfbServer(int width = 1024, int height = 768, bool anyLocalUser = false);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool Ok() const { return !m_display.empty(); }
    // The DISPLAY value, for example ":42".
    const std::string& DisplayName() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

using XWindow = unsigned long;

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false; // mapped and all its ancestors mapped
};

// A connection to an X server for looking at and poking windows the way the
// host and a user would.
class X11Connection {
public:
    explicit X11Connection(const std::string& display);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool Ok() const { return m_display != nullptr; }

    // The first window, anywhere in the tree under each root, whose title is
    // exactly `title`: its _NET_WM_NAME (UTF-8) or its WM_NAME.
    std::optional<XWindow> FindWindowByTitle(const std::string& title);
    // Waits until such a window is there; nothing after the deadline.
    std::optional<XWindow> WaitForWindow(const std::string& title,
                                         std::chrono::milliseconds deadline);
    // Waits until no such window is left; whether none was before the deadline.
    bool WaitForNoWindow(const std::string& title, std::chrono::milliseconds deadline);

    std::optional<WindowGeometry> Geometry(XWindow window);

    // Asks the window to close, as a window manager's close button does
    // (WM_PROTOCOLS / WM_DELETE_WINDOW).
    bool RequestClose(XWindow window);

    // A plain black top-level window of this connection, mapped: a parent
    // for another program's window, as a desktop's preview area is. An
    // input-only window holds no picture, nor any window that shows one.
    XWindow CreateWindow(int x, int y, int width, int height, bool inputOnly = false);
    // Destroys any window, as `xdotool windowclose` or its owner would.
    void DestroyWindow(XWindow window);
    // The window's parent in the tree; nothing when the window is gone.
    std::optional<XWindow> Parent(XWindow window);
    // The root window of the first screen.
    XWindow Root();
    // The window's children, bottom-most first; none when it is gone.
    std::vector<XWindow> Children(XWindow window);
    // Gives a window a new size, as its owner or a window manager would.
    void ResizeWindow(XWindow window, int width, int height);

    // The size of the first screen.
    int ScreenWidth();
    int ScreenHeight();

    // Whether the mouse pointer shows a cursor where it is now (a cursor
    // image with any pixel not fully transparent).
    bool CursorShown();

    // The X server's own screen saver: it starts after `timeout` without
    // input from the keyboard or mouse, unless a program holds it off.
    void SetScreenSaverTimeout(std::chrono::seconds timeout);
    struct ScreenSaverState {
        bool active = false;              // the screen saver has started
        std::chrono::milliseconds idle{}; // since the last input
    };
    std::optional<ScreenSaverState> ScreenSaver();

    // The whole first screen as RGB bytes, top row first.
    std::vector<std::uint8_t> ScreenshotRgb();
    // A rectangle of the first screen, the same way.
    std::vector<std::uint8_t> ScreenshotRgb(int x, int y, int width, int height);

private:
    ::_XDisplay* m_display = nullptr;
};

// Presses and releases a key (an xdotool key name such as "Escape" or
// "Return") on the display, as a user would: to the focused window.
bool SendKey(const std::string& display, const std::string& key);

// Gives `window` the keyboard focus first, as a user's click would (there is
// no window manager to do it), then presses the key; waits up to 20 s for
// a window that cannot take the focus yet.
bool SendKeyTo(const std::string& display, XWindow window, const std::string& key);

// Writes RGB bytes (top row first) as a binary PPM.
bool WritePpm(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

// Simple facts about a picture, for "not black, not uniform" checks.
struct PictureStats {
    double meanLuma = 0.0;
    int distinctColours = 0; // counted up to 1000
    int maxChannel = 0;
};
PictureStats StatsOf(const std::vector<std::uint8_t>& rgb);

} // namespace kestrune::test
