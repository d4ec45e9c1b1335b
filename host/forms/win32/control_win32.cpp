#include "host/forms/control.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/form_impl.h"

#include <algorithm>
#include <utility>

namespace kestrune::forms {

Control::Impl::Impl(Container::Impl& parent, bool isWindowless)
    : container(parent), windowless(isWindowless) {
    container.children.push_back(this);
}

Control::Impl::~Impl() {
    std::erase(container.children, this);
    std::erase(container.OwnerForm().tabOrder, this);
    if (container.pressed == this) {
        container.pressed = nullptr;
    }
    if (windowless) {
        Repaint();
        container.ChildLayoutChanged();
    }
}

void Control::Impl::Attached() {
    if (!windowless) {
        if (const HWND parentWindow = container.ChildWindow()) {
            CreateWindowIn(parentWindow);
        }
    }
}

void Control::Impl::Resize(int width, int height) {
    owner->Place(Box{owner->Left(), owner->Top(), width, height});
}

void Control::Impl::PlaceWindow() {
    if (const HWND window = Handle()) {
        const Box& bounds = Bounds();
        SetWindowPos(window, nullptr, bounds.x, bounds.y, bounds.width, bounds.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

DWORD Control::Impl::StateStyle() const {
    return WS_CHILD | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) |
           (Enabled() ? 0 : WS_DISABLED);
}

void Control::Impl::Repaint() const {
    container.Invalidate(Bounds());
}

MouseButton ButtonsOf(WPARAM wParam) {
    int mask = 0;
    mask |= (wParam & MK_LBUTTON) ? static_cast<int>(MouseButton::Left) : 0;
    mask |= (wParam & MK_RBUTTON) ? static_cast<int>(MouseButton::Right) : 0;
    mask |= (wParam & MK_MBUTTON) ? static_cast<int>(MouseButton::Middle) : 0;
    return static_cast<MouseButton>(mask);
}

ShiftState ShiftOf(WPARAM wParam) {
    return ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

Control::Control(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {
    m_impl->owner = this;
    m_impl->Attached();
}

Control::~Control() = default;

void Control::Placed(const Box& before) {
    Impl& impl = *m_impl;
    if (impl.windowless) {
        impl.container.Invalidate(before);
        impl.Repaint();
        impl.container.ChildLayoutChanged();
    } else {
        impl.PlaceWindow();
    }
}

void Control::Moved() {
    m_impl->Moved();
}

void Control::VisibleChanged() {
    Impl& impl = *m_impl;
    if (impl.windowless) {
        impl.Repaint();
        impl.container.ChildLayoutChanged();
    } else if (const HWND window = impl.Handle()) {
        ShowWindow(window, m_visible ? SW_SHOWNA : SW_HIDE);
    }
}

void Control::EnabledChanged() {
    Impl& impl = *m_impl;
    if (impl.windowless) {
        impl.Repaint();
    } else if (const HWND window = impl.Handle()) {
        EnableWindow(window, m_enabled ? TRUE : FALSE);
    }
}

} // namespace kestrune::forms
