#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"
#include "host/forms/surface.h"

#include <string>

namespace kestrune::forms {

class EventDispatch;
class Form;

// The base of the host's own controls: a child window with a backing image,
// its own mouse and focus events, and windowless children of its own (a
// caption label, say). While a mouse button is held after going down on the
// control, the control keeps receiving the mouse's moves and the release,
// wherever the mouse goes, as the window system's capture gives them.
class UserControl : public Control, public Container {
public:
    explicit UserControl(Container& parent);
    ~UserControl() override;

    // The control's own window, as WindowFromPoint reports it.
    NativeWindow Window() const;

    // The form the control sits on: its window, and the owner of the
    // control's timers.
    Form& ParentForm() const;

    // Opaque: the background colour and the backing image fill the control.
    // Transparent: the control shows only where its windowless children
    // (its caption) are, with its backing image behind them; everywhere else
    // the container shows through.
    void SetOpaque(bool opaque);
    bool Opaque() const { return m_opaque; }
    void SetBackColor(Rgb colour);
    Rgb BackColor() const { return m_backColor; }

    Surface& Canvas();
    void RefreshCanvas();

    // Whether Tab and a click give the control the keyboard focus.
    void SetTabStop(bool tabStop);
    bool TabStop() const { return m_tabStop; }
    bool HasFocus() const;
    void SetFocus();

    // The font of the form the control sits on, for properties that default
    // to it.
    Font AmbientFont() const;

    Container::Impl& ContainerImpl() const override;

protected:
    virtual void UserControl_MouseDown(MouseButton button, ShiftState shift, int x, int y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    // `buttons` holds the buttons held during the move.
    virtual void UserControl_MouseMove(MouseButton buttons, ShiftState shift, int x, int y) {
        (void)buttons, (void)shift, (void)x, (void)y;
    }
    virtual void UserControl_MouseUp(MouseButton button, ShiftState shift, int x, int y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void UserControl_GotFocus() {}
    virtual void UserControl_LostFocus() {}
    virtual void UserControl_Resize() {}

    // The backend delivers the events through it.
    friend class EventDispatch;

private:
    // What a setter changed, for the backend.
    enum class Change { Opaque, BackColor, TabStop };
    // The backend's side: shows the change.
    void Changed(Change what);

    Rgb m_backColor{240, 240, 240};
    bool m_opaque = true;
    bool m_tabStop = true;
};

} // namespace kestrune::forms
