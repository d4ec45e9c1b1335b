#pragma once

#include "host/forms/event_dispatch.h"
#include "host/forms/form.h"
#include "host/forms/timer.h"
#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/gdi_handles.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrune::forms {

struct Form::Impl : Container::Impl {
    explicit Impl(Form& owner);
    ~Impl() override;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    HWND ChildWindow() const override { return window; }
    Form::Impl& OwnerForm() override { return *this; }
    Surface& PaintCanvas() override { return Canvas(); }
    Rgb PaintBackground() const override { return owner.Settings().backColor; }
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    void Load();
    void Show(bool modal);
    // Form_QueryUnload, Form_Unload, then (unless they cancel) the window
    // goes (see EventDispatch::UnloadEvents); windowGone: its parent went
    // and took it along.
    void Unload(UnloadMode mode, bool windowGone = false);
    Surface& Canvas();
    int ClientWidth() const;
    int ClientHeight() const;
    // Gives the focus to the next (or previous) control of the tab order
    // after the one that has it; false when none can take it.
    bool MoveFocus(bool forward);

    // The window's styles, by its border style (and, once embedded, as the
    // window itself has them).
    DWORD Style() const;
    DWORD ExStyle() const;
    // The window's frame size for the client size.
    SIZE FrameSize() const;

    Form& owner;
    HWND window = nullptr;
    Surface canvas;
    win32::OwnedIcon icon;
    std::vector<Timer::Impl*> timers;
    UINT_PTR nextTimerId = 1;
    // Where the frame goes when the window is made; the system's choice
    // when never set.
    std::optional<Point> position;
    int clientWidth = 320;
    int clientHeight = 240;
    bool loaded = false;
    bool unloading = false;
    FormResizeEvents resizeEvents;
    // Set while the form destroys its own window, so that the destruction is
    // not taken for one from outside.
    bool destroying = false;
    // The controls that Tab moves through, in order (see SetTabOrder).
    std::vector<Control::Impl*> tabOrder;
    // The window that had the focus when the form was last deactivated.
    HWND focusBeforeDeactivation = nullptr;

private:
    void DestroyWindow(bool windowGone);
    bool OwnsFocus() const;
};

} // namespace kestrune::forms
