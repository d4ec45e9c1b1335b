#pragma once

#include "host/forms/form.h"
#include "host/forms/user_control.h"

// The one door through which the toolkit's events reach the protected event
// procedures of the host's forms and user controls.
namespace kestrune::forms {

class EventDispatch {
public:
    static void Load(Form& form) { form.Form_Load(); }
    static void Resize(Form& form) { form.Form_Resize(); }
    // Form_QueryUnload, then (unless it cancelled) Form_Unload; whether the
    // form's window may go. A form whose window the window system has already
    // destroyed gets both events and goes even if they cancel: there is no
    // window left to keep.
    static bool UnloadEvents(Form& form, UnloadMode mode, bool windowGone) {
        bool cancel = false;
        form.Form_QueryUnload(cancel, mode);
        if (!cancel || windowGone) {
            form.Form_Unload(cancel);
        }
        return !cancel || windowGone;
    }

    static void MouseDown(UserControl& control, MouseButton button, ShiftState shift, int x,
                          int y) {
        control.UserControl_MouseDown(button, shift, x, y);
    }
    static void MouseMove(UserControl& control, MouseButton buttons, ShiftState shift, int x,
                          int y) {
        control.UserControl_MouseMove(buttons, shift, x, y);
    }
    static void MouseUp(UserControl& control, MouseButton button, ShiftState shift, int x, int y) {
        control.UserControl_MouseUp(button, shift, x, y);
    }
    static void GotFocus(UserControl& control) { control.UserControl_GotFocus(); }
    static void LostFocus(UserControl& control) { control.UserControl_LostFocus(); }
    static void Resize(UserControl& control) { control.UserControl_Resize(); }
};

// When a form gets Form_Resize: with its first showing, and then whenever
// the shown form's client size changes.
class FormResizeEvents {
public:
    // The form is shown, at this client size.
    void Shown(Form& form, int width, int height) {
        if (!m_shown) {
            m_shown = true;
            Send(form, width, height);
        }
    }
    // The form's client size is now this.
    void Sized(Form& form, int width, int height) {
        if (m_shown && (width != m_width || height != m_height)) {
            Send(form, width, height);
        }
    }
    // The window is gone: the next showing is a first one again.
    void WindowGone() { m_shown = false; }

private:
    void Send(Form& form, int width, int height) {
        m_width = width;
        m_height = height;
        EventDispatch::Resize(form);
    }

    bool m_shown = false;
    int m_width = -1;
    int m_height = -1;
};

} // namespace kestrune::forms
