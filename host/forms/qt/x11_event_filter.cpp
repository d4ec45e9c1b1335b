#include "host/forms/qt/x11_event_filter.h"

#include "host/forms/qt/form_impl.h"

#include <QByteArray>

#include <xcb/xcb.h>

namespace kestrune::forms::qt {

bool X11EventFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) {
        return false;
    }
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    const auto watched = m_watched.find(destroyed->window);
    if (watched != m_watched.end()) {
        // The window system closed the form by destroying its window. The
        // form's events run from the event loop, not inside Qt's handling of
        // the server's events. Until the form is unloaded Qt still talks to
        // the window; the server's errors about it go unreported.
        Form::Impl* form = watched->second;
        m_watched.erase(watched);
        form->QueueUnload(UnloadMode::ControlMenu, true);
    }
    return false;
}

void X11EventFilter::Watch(NativeWindow window, Form::Impl& form) {
    m_watched[window] = &form;
}

void X11EventFilter::Forget(NativeWindow window) {
    m_watched.erase(window);
}

} // namespace kestrune::forms::qt
