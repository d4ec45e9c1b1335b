// The renderer inside a window another program gave it, on X11 with GLX:
// what xscreensaver's daemon and its settings' preview start the renderer
// for. SDL has no way to draw inside a foreign window, so this mode talks to
// the X server directly.

#include "renderer/shell/embedded_shell.h"

#include "renderer/shell/gl_setup.h"
#include "renderer/shell/stop_signals.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <poll.h>
#include <string>

namespace kestrune {

namespace {

// The longest single wait for X events during a frame's pause. A stop signal
// interrupts the wait anyway; the bound covers one that arrives just before
// the wait begins.
constexpr std::chrono::milliseconds kLongestWait{100};

// The pixel format: as the fullscreen window asks, double-buffered RGBA with
// 8 bits a colour and a 16-bit depth buffer, or else the closest one with a
// depth buffer at all.
// clang-format off
constexpr int kPreferredVisual[] = {GLX_RGBA, GLX_DOUBLEBUFFER,
                                    GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                                    GLX_DEPTH_SIZE, 16,
                                    None};
// clang-format on
constexpr int kAnyVisual[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 1, None};

// The given window belongs to another program and may be destroyed at any
// moment; the requests that still name it (or the child window inside it)
// then fail. Xlib's default handler would end the process on the first such
// error, so errors are counted here instead and the loop ends by the window's
// DestroyNotify. One handler serves the process: the renderer has only this
// one connection in this mode.
int g_xErrorCount = 0;

int CountXError(Display*, XErrorEvent*) {
    ++g_xErrorCount;
    return 0;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using OwnedDisplay = std::unique_ptr<Display, DisplayCloser>;

struct XFreer {
    void operator()(XVisualInfo* info) const { XFree(info); }
};
using OwnedVisualInfo = std::unique_ptr<XVisualInfo, XFreer>;

// An X resource made on the connection (a window, a colormap), freed by
// `Free` unless the server already took it away.
template <int (*Free)(Display*, XID)> class OwnedXid {
public:
    OwnedXid() = default;
    ~OwnedXid() { reset(); }
    OwnedXid(const OwnedXid&) = delete;
    OwnedXid& operator=(const OwnedXid&) = delete;

    void reset(Display* display = nullptr, XID id = 0) {
        if (m_id != 0) {
            Free(m_display, m_id);
        }
        m_display = display;
        m_id = id;
    }
    // The server destroyed it (with the window it was a child of).
    void forget() { m_id = 0; }
    XID get() const { return m_id; }

private:
    Display* m_display = nullptr;
    XID m_id = 0;
};

int DestroyWindowXid(Display* display, XID window) {
    return XDestroyWindow(display, window);
}
int FreeColormapXid(Display* display, XID colormap) {
    return XFreeColormap(display, colormap);
}

// The OpenGL context; made not current before it goes.
class OwnedGlxContext {
public:
    OwnedGlxContext() = default;
    ~OwnedGlxContext() { reset(); }
    OwnedGlxContext(const OwnedGlxContext&) = delete;
    OwnedGlxContext& operator=(const OwnedGlxContext&) = delete;

    void reset(Display* display = nullptr, GLXContext context = nullptr) {
        if (m_context) {
            glXMakeCurrent(m_display, None, nullptr);
            glXDestroyContext(m_display, m_context);
        }
        m_display = display;
        m_context = context;
    }
    GLXContext get() const { return m_context; }
    explicit operator bool() const { return m_context != nullptr; }

private:
    Display* m_display = nullptr;
    GLXContext m_context = nullptr;
};

bool HasExtension(const char* extensions, const char* name) {
    if (!extensions) {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + 1, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

class GlxPlatform final : public GlPlatform {
public:
    void Bind(Display* display, int screen, GLXDrawable drawable) {
        m_display = display;
        m_screen = screen;
        m_drawable = drawable;
    }

    void* GetProcAddress(const char* name) override {
        return reinterpret_cast<void*>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
    }

    void SetSwapInterval(std::uint8_t interval) override {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        using SwapIntervalMesa = int (*)(unsigned);
        const char* extensions = glXQueryExtensionsString(m_display, m_screen);
        if (HasExtension(extensions, "GLX_EXT_swap_control")) {
            if (const auto set =
                    reinterpret_cast<SwapIntervalExt>(GetProcAddress("glXSwapIntervalEXT"))) {
                set(m_display, m_drawable, interval);
            }
        } else if (HasExtension(extensions, "GLX_MESA_swap_control")) {
            if (const auto set =
                    reinterpret_cast<SwapIntervalMesa>(GetProcAddress("glXSwapIntervalMESA"))) {
                set(interval);
            }
        }
        // A driver with neither keeps its default, as on the other platforms.
    }

private:
    Display* m_display = nullptr;
    int m_screen = 0;
    GLXDrawable m_drawable = 0;
};

class EmbeddedShell {
public:
    explicit EmbeddedShell(Scene& scene) : m_scene(scene) {}
    ~EmbeddedShell() { TearDown(); }
    EmbeddedShell(const EmbeddedShell&) = delete;
    EmbeddedShell& operator=(const EmbeddedShell&) = delete;

    // Readies the drawing inside the window; false, with the reason in
    // error(), when that cannot be done.
    bool Open(const EmbeddedMode& mode);
    int Run(std::uint32_t frameDelayMicroseconds);
    const std::string& error() const { return m_error; }

private:
    bool Fail(std::string reason);
    void HandlePendingEvents();
    void Pause(std::chrono::microseconds delay);
    bool Ended() const { return m_targetGone || StopRequested(); }
    void TearDown();

    Scene& m_scene;
    GlxPlatform m_platform;
    std::string m_error;
    Window m_target = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_targetGone = false;
    // Declared in the order they are made, so that they go in reverse: the
    // context before the window it draws into, everything before the
    // connection.
    OwnedDisplay m_display;
    OwnedXid<FreeColormapXid> m_colormap;
    OwnedXid<DestroyWindowXid> m_child;
    OwnedGlxContext m_context;
};

bool EmbeddedShell::Fail(std::string reason) {
    m_error = std::move(reason);
    TearDown();
    return false;
}

bool EmbeddedShell::Open(const EmbeddedMode& mode) {
    m_display.reset(XOpenDisplay(nullptr));
    if (!m_display) {
        return Fail("cannot open the X display");
    }
    Display* display = m_display.get();
    XSetErrorHandler(CountXError);

    m_target = mode.window ? static_cast<Window>(*mode.window) : DefaultRootWindow(display);
    const bool targetIsRoot = !mode.window;
    XWindowAttributes target{};
    if (!XGetWindowAttributes(display, m_target, &target)) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", m_target);
        return Fail(std::string("there is no window ") + id);
    }
    m_width = target.width;
    m_height = target.height;
    // Its size changes and its end. Only this connection's interest is set:
    // the window's owner keeps its own.
    XSelectInput(display, m_target, StructureNotifyMask);

    // The given window's visual need not suit OpenGL (xscreensaver makes its
    // window with the screen's default visual unless told otherwise), so the
    // show gets a child window of its own inside it, with a visual chosen for
    // OpenGL. The child has no title: the host must never mistake it for the
    // fullscreen renderer's window.
    const int screen = XScreenNumberOfScreen(target.screen);
    OwnedVisualInfo visual(glXChooseVisual(display, screen, const_cast<int*>(kPreferredVisual)));
    if (!visual) {
        visual.reset(glXChooseVisual(display, screen, const_cast<int*>(kAnyVisual)));
    }
    if (!visual) {
        return Fail("the X server offers no double-buffered OpenGL visual");
    }
    m_colormap.reset(
        display, XCreateColormap(display, RootWindow(display, screen), visual->visual, AllocNone));

    XSetWindowAttributes attributes{};
    attributes.colormap = m_colormap.get();
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    // Inside the root window the child is a top-level window: a window
    // manager must leave it alone, and it stays below every other window,
    // where the desktop's background is.
    attributes.override_redirect = targetIsRoot ? True : False;
    m_child.reset(
        display, XCreateWindow(
                     display, m_target, 0, 0, static_cast<unsigned>(m_width),
                     static_cast<unsigned>(m_height), 0, visual->depth, InputOutput, visual->visual,
                     CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect, &attributes));
    XMapWindow(display, m_child.get());
    if (targetIsRoot) {
        XLowerWindow(display, m_child.get());
    }

    m_context.reset(display, glXCreateContext(display, visual.get(), nullptr, True));
    if (!m_context) {
        return Fail("cannot create an OpenGL context");
    }
    // Everything asked so far must have worked: the window may have gone
    // between the first look at it and now.
    XSync(display, False);
    if (g_xErrorCount != 0) {
        return Fail("the window went away or refused the show's window");
    }
    if (!glXMakeCurrent(display, m_child.get(), m_context.get())) {
        return Fail("cannot make the OpenGL context current");
    }
    m_platform.Bind(display, screen, m_child.get());

    Resize(m_width, m_height);
    if (!InitialiseOpenGL(m_scene, m_platform)) {
        return Fail("the show could not be set up");
    }
    return true;
}

int EmbeddedShell::Run(std::uint32_t frameDelayMicroseconds) {
    const std::chrono::microseconds delay(frameDelayMicroseconds);
    while (true) {
        HandlePendingEvents();
        if (Ended()) {
            break;
        }
        DrawFrame(m_scene);
        glXSwapBuffers(m_display.get(), m_child.get());
        if (delay.count() > 0) {
            Pause(delay);
        }
    }
    TearDown();
    return 0;
}

void EmbeddedShell::HandlePendingEvents() {
    Display* display = m_display.get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == m_target) {
            // The child went with it.
            m_targetGone = true;
            m_child.forget();
        } else if (event.type == ConfigureNotify && event.xconfigure.window == m_target &&
                   (event.xconfigure.width != m_width || event.xconfigure.height != m_height)) {
            m_width = event.xconfigure.width;
            m_height = event.xconfigure.height;
            XResizeWindow(display, m_child.get(), static_cast<unsigned>(m_width),
                          static_cast<unsigned>(m_height));
            Resize(m_width, m_height);
        }
    }
}

// The frame's pause, during which the window's events are still handled as
// they come: its end is seen at once, not after the pause.
void EmbeddedShell::Pause(std::chrono::microseconds delay) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + delay;
    pollfd connection{ConnectionNumber(m_display.get()), POLLIN, 0};
    while (!Ended()) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(end - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        const auto wait = std::min<std::chrono::nanoseconds>(left, kLongestWait);
        const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                               static_cast<long>(wait.count() % 1'000'000'000)};
        // A signal ends the wait early (EINTR); the loop then sees the stop.
        if (ppoll(&connection, 1, &timeout, nullptr) > 0) {
            HandlePendingEvents();
        }
    }
}

void EmbeddedShell::TearDown() {
    if (m_context) {
        // The show's OpenGL objects go while their context is current; the
        // show itself outlives the run.
        m_scene.ReleaseGlObjects();
    }
    m_context.reset();
    m_child.reset();
    m_colormap.reset();
    if (m_display) {
        // Whatever the server still has to say about the requests above is
        // heard before the connection closes.
        XSync(m_display.get(), False);
    }
    m_display.reset();
}

} // namespace

int RunEmbeddedRenderer(Scene& scene, const EmbeddedMode& mode) {
    EmbeddedShell shell(scene);
    if (!shell.Open(mode)) {
        std::fprintf(stderr, "Kestrune.dll: %s\n", shell.error().c_str());
        return 1;
    }
    return shell.Run(mode.frameDelayMicroseconds);
}

} // namespace kestrune
