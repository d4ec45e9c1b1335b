#pragma once

#include "host/forms/forms_types.h"

#include <memory>

// The base of every control that sits on a form, and of the things that hold
// controls (forms, picture boxes, user controls). Each class of the layer
// keeps its platform state behind an Impl that the backend defines
// (forms/qt/ on Linux, forms/win32/ on Windows); nothing here knows the
// toolkit.
namespace kestrune::forms {

// Something that holds controls: a form, a picture box or a user control.
// Controls are created with their container and live no longer than it.
class Container {
public:
    struct Impl;
    virtual ~Container() = default;
    // The backend's side of the container, where it places the children.
    virtual Impl& ContainerImpl() const = 0;
};

class Control {
public:
    struct Impl;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Position and size in pixels within the container's client area.
    void Move(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    void SetVisible(bool visible);
    bool Visible() const;

    // A disabled control takes no mouse or keyboard input and shows its
    // disabled look.
    void SetEnabled(bool enabled);
    bool Enabled() const;

    // Where Move (or the control's own sizing) put it.
    const Box& Bounds() const { return m_bounds; }

    Impl& ControlImpl() const { return *m_impl; }

protected:
    explicit Control(std::unique_ptr<Impl> impl);

    // Puts the control at `bounds` without the work that follows a Move: for
    // a control that sizes itself.
    void Place(const Box& bounds);

private:
    // The backend's side of the settings: the control was placed anew (it
    // was at `before`); Move placed it; it was shown or hidden; it was
    // enabled or disabled.
    void Placed(const Box& before);
    void Moved();
    void VisibleChanged();
    void EnabledChanged();

    // The settings come first: the backend's side goes before them, and may
    // still look at them as it goes.
    Box m_bounds;
    bool m_visible = true;
    bool m_enabled = true;
    std::unique_ptr<Impl> m_impl;
};

} // namespace kestrune::forms
