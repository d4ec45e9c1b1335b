#include "host/forms/qt/x11_event_filter.h"

#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/x11_display.h"

#include <QByteArray>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace kestrune::forms::qt {

bool X11EventFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
        const auto* changed = static_cast<const xcb_property_notify_event_t*>(message);
        const auto watched = m_watched.find(changed->window);
        if (watched != m_watched.end() && changed->atom == FrameExtentsAtom()) {
            watched->second->FrameKnown();
        }
        return false;
    }
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

std::uint32_t X11EventFilter::FrameExtentsAtom() {
    if (m_frameExtents == XCB_ATOM_NONE) {
        if (xcb_connection_t* connection = X11Connection()) {
            constexpr std::string_view kName = "_NET_FRAME_EXTENTS";
            const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(
                connection, 0, static_cast<std::uint16_t>(kName.size()), kName.data());
            const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
                xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
            if (reply) {
                m_frameExtents = reply->atom;
            }
        }
    }
    return m_frameExtents;
}

void X11EventFilter::Watch(NativeWindow window, Form::Impl& form) {
    m_watched[window] = &form;
}

void X11EventFilter::Forget(NativeWindow window) {
    m_watched.erase(window);
}

} // namespace kestrune::forms::qt
