#pragma once

#include "host/forms/form.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <map>

// Watches the X server's events for what Qt does not tell: a form's window
// destroyed by someone else (`xdotool windowclose`, or the foreign parent of
// an embedded form going away, which takes its children with it), and the
// window manager telling the size of the frame it put around a form's window.
namespace kestrune::forms::qt {

class X11EventFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // While watched, the window's destruction unloads the form.
    void Watch(NativeWindow window, Form::Impl& form);
    void Forget(NativeWindow window);

private:
    // The atom of _NET_FRAME_EXTENTS, asked for once.
    std::uint32_t FrameExtentsAtom();

    std::map<NativeWindow, Form::Impl*> m_watched;
    std::uint32_t m_frameExtents = 0;
};

} // namespace kestrune::forms::qt
