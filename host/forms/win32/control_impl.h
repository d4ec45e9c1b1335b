#pragma once

#include "host/forms/control.h"
#include "host/forms/form.h"
#include "host/forms/forms_types.h"
#include "host/forms/surface.h"

#include <windows.h>

#include <vector>

// The backend's side of controls and containers. Windowed controls (combo
// boxes, picture boxes, user controls) are child windows; windowless ones
// (labels, images, shapes) are drawn by their container over its image and
// get their mouse input from it, as the window system would place child
// windows above whatever their parent paints.
//
// A control keeps its settings itself, so that it can be made, moved and
// drawn on before its form is loaded. The windows exist only while the form
// is loaded: loading makes them, unloading destroys them, and a form loaded
// again makes them anew from the same settings.
namespace kestrune::forms {

struct Container::Impl {
    virtual ~Impl() = default;

    // The window that holds the children; null while there is none.
    virtual HWND ChildWindow() const = 0;
    // The form the container sits on (a form is its own).
    virtual Form::Impl& OwnerForm() = 0;

    // What the container's window shows under its windowless children.
    virtual Surface& PaintCanvas() = 0;
    virtual Rgb PaintBackground() const = 0;

    // A windowless child moved, or was shown or hidden.
    virtual void ChildLayoutChanged() {}

    // The container's window procedure: what every container does (its
    // painting, the windowless children's mouse input and cursors, the
    // colours of its system controls). A container with more to do
    // overrides it and passes the rest on.
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Makes the windows of the windowed children inside ChildWindow().
    void CreateChildWindows();
    // The container's window is being destroyed, and the children's with it.
    void ChildWindowsGoing();
    // Redraws a part of the container's window.
    void Invalidate(const Box& area) const;

    // The children, in the order they were made: later windowless children
    // are drawn over earlier ones.
    std::vector<Control::Impl*> children;
    // The windowless child a left button went down on, until it comes up.
    Control::Impl* pressed = nullptr;

    // The topmost windowless child at a point of the client area that takes
    // the mouse there, or null.
    Control::Impl* WindowlessAt(int x, int y) const;

private:
    void Paint(HWND window);
    bool SetCursorOver(HWND window);
};

struct Control::Impl {
    Impl(Container::Impl& parent, bool windowless);
    virtual ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Windowed controls: their window, null while there is none.
    virtual HWND Handle() const { return nullptr; }
    // Windowed controls: make the window inside `parent` (and those of their
    // own children), from the control's settings.
    virtual void CreateWindowIn(HWND parent) { (void)parent; }
    // Windowed controls: puts the window where the control's bounds say.
    virtual void PlaceWindow();
    // Windowed controls: the window is about to be destroyed with its
    // parent's; keep what only the window knew.
    virtual void WindowGoing() {}
    // Windowed controls: whether Tab (and a click) gives them the focus.
    virtual bool TabStop() const { return !windowless; }
    // Windowed controls: the brush of a system control's colours message.
    virtual HBRUSH ControlColour(HDC dc) {
        (void)dc;
        return nullptr;
    }

    // Windowless controls: draw onto the container's image, at their bounds.
    virtual void Paint(HDC dc) { (void)dc; }
    // Windowless controls: whether the mouse over them is theirs (otherwise
    // it goes to the container), and what they do with it.
    virtual bool TakesMouse() const { return false; }
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void Click() {}
    // Windowless controls: the cursor over them, or null for the default.
    virtual HCURSOR Cursor() const { return nullptr; }

    // After Move has placed the control.
    virtual void Moved() {}

    // The style bits of a windowed control's window that follow the
    // control's settings.
    DWORD StateStyle() const;
    // Windowless controls: redraws the control's place in its container.
    void Repaint() const;

    // Windowed controls: makes the window when the container already has
    // one; otherwise loading the form makes it.
    void Attached();
    // Sizes the control from its own measure, as Move would without what
    // follows a Move.
    void Resize(int width, int height);

    // The control's settings.
    const Box& Bounds() const { return owner->Bounds(); }
    bool Visible() const { return owner->Visible(); }
    bool Enabled() const { return owner->Enabled(); }

    // The control whose side this is; set once the control exists.
    Control* owner = nullptr;
    Container::Impl& container;
    const bool windowless;
};

// The mouse buttons and shift keys of a mouse message.
MouseButton ButtonsOf(WPARAM wParam);
ShiftState ShiftOf(WPARAM wParam);

} // namespace kestrune::forms
