#include "host/forms/window_services.h"

#include "host/forms/qt/application_impl.h"
#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/x11_display.h"
#include "host/forms/qt/x11_window_lookup.h"

#include <QApplication>
#include <QCursor>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

// On an X server every service asks the server itself, so that the windows of
// other programs count as much as the host's own. Without one (Qt's
// offscreen platform) only the host's own forms and controls are known.
namespace kestrune::forms {

namespace {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

xcb_screen_t* FirstScreen(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

// The animation: a few outlines between the two rectangles, about a fifth of
// a second in all.
constexpr int kAnimationFrames = 8;
constexpr auto kAnimationFrameTime = std::chrono::milliseconds(25);

Rect Between(const Rect& from, const Rect& to, int step, int steps) {
    auto mix = [&](int a, int b) { return a + (b - a) * step / steps; };
    return Rect{mix(from.left, to.left), mix(from.top, to.top), mix(from.right, to.right),
                mix(from.bottom, to.bottom)};
}

} // namespace

NativeWindow FindWindowByTitle(std::string_view title) {
    if (::_XDisplay* display = qt::X11Display()) {
        return x11::FindWindowByTitle(display, title);
    }
    for (const Form::Impl* form : qt::LoadedForms()) {
        if (form->owner.Caption() == title) {
            return form->Window();
        }
    }
    return 0;
}

std::optional<Rect> WindowRect(NativeWindow window) {
    xcb_connection_t* connection = qt::X11Connection();
    if (!connection) {
        for (const Form::Impl* form : qt::LoadedForms()) {
            if (form->Window() == window && window != 0) {
                return form->owner.WindowRect();
            }
        }
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window);
    const xcb_window_t root = FirstScreen(connection)->root;
    const auto geometryCookie = xcb_get_geometry(connection, id);
    const auto originCookie = xcb_translate_coordinates(connection, id, root, 0, 0);
    ReplyPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, geometryCookie, nullptr));
    ReplyPtr<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(connection, originCookie, nullptr));
    if (!geometry || !origin) {
        return std::nullopt;
    }
    // The outer edge, border included, as the window's rectangle on Windows
    // includes its frame.
    const int border = geometry->border_width;
    return Rect{origin->dst_x - border, origin->dst_y - border,
                origin->dst_x + geometry->width + border,
                origin->dst_y + geometry->height + border};
}

std::optional<Point> CursorPosition() {
    if (!qApp) {
        return std::nullopt;
    }
    const QPoint at = QCursor::pos();
    return Point{at.x(), at.y()};
}

NativeWindow WindowFromPoint(Point point) {
    xcb_connection_t* connection = qt::X11Connection();
    if (!connection) {
        for (const QWidget* widget = QApplication::widgetAt(point.x, point.y); widget;
             widget = widget->parentWidget()) {
            if (widget->internalWinId()) {
                return static_cast<NativeWindow>(widget->internalWinId());
            }
        }
        return 0;
    }
    // Down from the root through the mapped windows that hold the point, to
    // the deepest: a control with a window of its own, its form, or another
    // program's window (or the root itself where there is none).
    const xcb_window_t root = FirstScreen(connection)->root;
    xcb_window_t window = root;
    while (true) {
        const auto cookie =
            xcb_translate_coordinates(connection, root, window, static_cast<std::int16_t>(point.x),
                                      static_cast<std::int16_t>(point.y));
        ReplyPtr<xcb_translate_coordinates_reply_t> reply(
            xcb_translate_coordinates_reply(connection, cookie, nullptr));
        if (!reply) {
            return window == root ? 0 : window;
        }
        if (reply->child == XCB_WINDOW_NONE) {
            return window;
        }
        window = reply->child;
    }
}

int ShowCursor(bool show) {
    // The count alone: on X11 the host has no window of its own on screen to
    // hide the cursor in, and the renderer hides its own.
    static int count = 0;
    count += show ? 1 : -1;
    return count;
}

void AnimateRects(NativeWindow, const Rect& from, const Rect& to) {
    // Outlines drawn with XOR straight onto the screen (through every window
    // on it) and drawn again to wipe them: it needs neither a window manager
    // nor a compositor, and it leaves the screen as it found it.
    xcb_connection_t* connection = qt::X11Connection();
    if (!connection) {
        return;
    }
    xcb_screen_t* screen = FirstScreen(connection);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const std::uint32_t values[] = {XCB_GX_XOR, screen->white_pixel ^ screen->black_pixel, 2,
                                    XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS};
    xcb_create_gc(connection, gc, screen->root,
                  XCB_GC_FUNCTION | XCB_GC_FOREGROUND | XCB_GC_LINE_WIDTH | XCB_GC_SUBWINDOW_MODE,
                  values);
    auto outline = [&](const Rect& rect) {
        const xcb_rectangle_t box{static_cast<std::int16_t>(rect.left),
                                  static_cast<std::int16_t>(rect.top),
                                  static_cast<std::uint16_t>(std::max(rect.Width(), 1)),
                                  static_cast<std::uint16_t>(std::max(rect.Height(), 1))};
        xcb_poly_rectangle(connection, screen->root, gc, 1, &box);
        xcb_flush(connection);
    };
    for (int step = 1; step <= kAnimationFrames; ++step) {
        const Rect frame = Between(from, to, step, kAnimationFrames);
        outline(frame);
        std::this_thread::sleep_for(kAnimationFrameTime);
        outline(frame);
    }
    xcb_free_gc(connection, gc);
    xcb_flush(connection);
}

} // namespace kestrune::forms
