#include "host/forms/control.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/form_impl.h"

#include <algorithm>

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

void Control::Impl::PlaceWindow() {
    if (const HWND window = Handle()) {
        SetWindowPos(window, nullptr, bounds.x, bounds.y, bounds.width, bounds.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

DWORD Control::Impl::StateStyle() const {
    return WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0) | (enabled ? 0 : WS_DISABLED);
}

void Control::Impl::Repaint() const {
    container.Invalidate(bounds);
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

Control::Control(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

Control::~Control() = default;

void Control::Move(int left, int top, int width, int height) {
    Impl& impl = *m_impl;
    const Box before = impl.bounds;
    impl.bounds = Box{left, top, std::max(width, 0), std::max(height, 0)};
    if (impl.windowless) {
        impl.container.Invalidate(before);
        impl.Repaint();
        impl.container.ChildLayoutChanged();
    } else {
        impl.PlaceWindow();
    }
    impl.Moved();
}

int Control::Left() const {
    return m_impl->bounds.x;
}

int Control::Top() const {
    return m_impl->bounds.y;
}

int Control::Width() const {
    return m_impl->bounds.width;
}

int Control::Height() const {
    return m_impl->bounds.height;
}

void Control::SetVisible(bool visible) {
    Impl& impl = *m_impl;
    impl.visible = visible;
    if (impl.windowless) {
        impl.Repaint();
        impl.container.ChildLayoutChanged();
    } else if (const HWND window = impl.Handle()) {
        ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool Control::Visible() const {
    return m_impl->visible;
}

void Control::SetEnabled(bool enabled) {
    Impl& impl = *m_impl;
    impl.enabled = enabled;
    if (impl.windowless) {
        impl.Repaint();
    } else if (const HWND window = impl.Handle()) {
        EnableWindow(window, enabled ? TRUE : FALSE);
    }
}

bool Control::Enabled() const {
    return m_impl->enabled;
}

} // namespace kestrune::forms
