#include "host/forms/qt/x11_display.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

namespace kestrune::forms::qt {

namespace {

QNativeInterface::QX11Application* X11Application() {
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

} // namespace

::_XDisplay* X11Display() {
    auto* x11 = X11Application();
    return x11 ? x11->display() : nullptr;
}

xcb_connection_t* X11Connection() {
    auto* x11 = X11Application();
    return x11 ? x11->connection() : nullptr;
}

void FlushX11() {
    if (xcb_connection_t* connection = X11Connection()) {
        xcb_flush(connection);
    }
}

} // namespace kestrune::forms::qt
