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
    static void QueryUnload(Form& form, bool& cancel, UnloadMode mode) {
        form.Form_QueryUnload(cancel, mode);
    }
    static void Unload(Form& form, bool& cancel) { form.Form_Unload(cancel); }

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

} // namespace kestrune::forms
