#include "host/forms/user_control.h"

#include "host/forms/event_dispatch.h"
#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/gdi_drawing.h"
#include "host/forms/win32/window_class_win32.h"

#include <windowsx.h>

namespace kestrune::forms {

namespace {

MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return MouseButton::Right;
    default:
        return MouseButton::Middle;
    }
}

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

struct UserControlImpl : Control::Impl, Container::Impl {
    UserControlImpl(Container::Impl& parent, UserControl& owner)
        : Control::Impl(parent, false), control(owner) {}

    ~UserControlImpl() override {
        if (window) {
            DestroyWindow(window);
        }
    }

    HWND Handle() const override { return window; }
    HWND ChildWindow() const override { return window; }
    Form::Impl& OwnerForm() override { return container.OwnerForm(); }
    Surface& PaintCanvas() override { return Canvas(); }
    Rgb PaintBackground() const override { return control.BackColor(); }
    bool TabStop() const override { return control.TabStop(); }

    Surface& Canvas() {
        canvas.Resize(Bounds().width, Bounds().height, control.BackColor());
        return canvas;
    }

    void CreateWindowIn(HWND parent) override {
        // A window of its own, so that the window under the mouse
        // (WindowFromPoint) tells the control apart from its form. Its
        // windowless children (its caption) are drawn inside it.
        window = win32::CreateContainerWindow(win32::WindowKind::UserControl, *this,
                                              StateStyle() | WS_CLIPCHILDREN | WS_TABSTOP, 0, L"",
                                              Bounds(), parent);
        UpdateRegion();
        CreateChildWindows();
    }

    void WindowGoing() override {
        ChildWindowsGoing();
        window = nullptr;
    }

    void Moved() override {
        SizeChanged();
        UpdateRegion();
    }

    void ChildLayoutChanged() override { UpdateRegion(); }

    // UserControl_Resize, once per new size, from Move.
    void SizeChanged() {
        if (Bounds().width == lastWidth && Bounds().height == lastHeight) {
            return;
        }
        lastWidth = Bounds().width;
        lastHeight = Bounds().height;
        EventDispatch::Resize(control);
    }

    // Transparent, the control's window covers only its visible windowless
    // children (its caption): everywhere else the container shows through.
    void UpdateRegion() const {
        if (!window) {
            return;
        }
        if (control.Opaque()) {
            SetWindowRgn(window, nullptr, TRUE);
            return;
        }
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        for (const Control::Impl* child : children) {
            if (child->windowless && child->Visible()) {
                const RECT area = win32::RectOf(child->Bounds());
                HRGN part = CreateRectRgnIndirect(&area);
                CombineRgn(region, region, part, RGN_OR);
                DeleteObject(part);
            }
        }
        // The window owns the region from here on.
        SetWindowRgn(window, region, TRUE);
    }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            if (WindowlessAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
                return Container::Impl::HandleMessage(hwnd, message, wParam, lParam);
            }
            // The moves and the release come here, wherever the mouse goes,
            // while a button is held. Of the buttons only the left one gives
            // the focus, as on any push button, so that a right click leaves
            // it where it was.
            SetCapture(hwnd);
            const MouseButton button = ButtonOf(message);
            if (button == MouseButton::Left && control.TabStop()) {
                SetFocus(hwnd);
            }
            EventDispatch::MouseDown(control, button, ShiftOf(wParam), GET_X_LPARAM(lParam),
                                     GET_Y_LPARAM(lParam));
            return 0;
        }
        case WM_MOUSEMOVE:
            EventDispatch::MouseMove(control, ButtonsOf(wParam), ShiftOf(wParam),
                                     GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            // Let go before the event: its handler may close the form.
            if ((wParam & kAnyButton) == 0 && GetCapture() == hwnd) {
                ReleaseCapture();
            }
            EventDispatch::MouseUp(control, ButtonOf(message), ShiftOf(wParam),
                                   GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SETFOCUS:
            if (!focused) {
                focused = true;
                EventDispatch::GotFocus(control);
            }
            return 0;
        case WM_KILLFOCUS: {
            // The form losing the active state (another program, a message
            // box) leaves the control focused within its form; only another
            // control of the same form takes the focus from it, or the
            // control being disabled, which the system takes the focus from
            // and gives it to no window.
            const auto next = reinterpret_cast<HWND>(wParam);
            const bool sameForm = next && GetAncestor(next, GA_ROOT) == GetAncestor(hwnd, GA_ROOT);
            if (focused && (sameForm || !IsWindowEnabled(hwnd))) {
                focused = false;
                EventDispatch::LostFocus(control);
            }
            return 0;
        }
        default:
            return Container::Impl::HandleMessage(hwnd, message, wParam, lParam);
        }
    }

    UserControl& control;
    HWND window = nullptr;
    Surface canvas;
    bool focused = false;
    int lastWidth = -1;
    int lastHeight = -1;
};

UserControlImpl& Of(const UserControl& control) {
    return static_cast<UserControlImpl&>(control.ControlImpl());
}

} // namespace

UserControl::UserControl(Container& parent)
    : Control(std::make_unique<UserControlImpl>(parent.ContainerImpl(), *this)) {}

UserControl::~UserControl() = default;

NativeWindow UserControl::Window() const {
    return reinterpret_cast<NativeWindow>(Of(*this).window);
}

Form& UserControl::ParentForm() const {
    return Of(*this).OwnerForm().owner;
}

void UserControl::Changed(Change what) {
    switch (what) {
    case Change::Opaque:
        Of(*this).UpdateRegion();
        RefreshCanvas();
        break;
    case Change::BackColor:
        RefreshCanvas();
        break;
    case Change::TabStop:
        break;
    }
}

Surface& UserControl::Canvas() {
    return Of(*this).Canvas();
}

void UserControl::RefreshCanvas() {
    if (const HWND window = Of(*this).window) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

bool UserControl::HasFocus() const {
    return Of(*this).focused;
}

void UserControl::SetFocus() {
    if (const HWND window = Of(*this).window) {
        ::SetFocus(window);
    }
}

Container::Impl& UserControl::ContainerImpl() const {
    return Of(*this);
}

} // namespace kestrune::forms
