#include "host/forms/picture_box.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/window_class_win32.h"

#include <algorithm>

namespace kestrune::forms {

namespace {

struct PictureBoxImpl : Control::Impl, Container::Impl {
    PictureBoxImpl(Container::Impl& parent, PictureBox& box)
        : Control::Impl(parent, false), owner(box) {}

    ~PictureBoxImpl() override {
        if (window) {
            DestroyWindow(window);
        }
    }

    HWND Handle() const override { return window; }
    HWND ChildWindow() const override { return window; }
    Form::Impl& OwnerForm() override { return container.OwnerForm(); }
    Surface& PaintCanvas() override { return Canvas(); }
    Rgb PaintBackground() const override { return owner.BackColor(); }

    void CreateWindowIn(HWND parent) override {
        window = win32::CreateContainerWindow(
            win32::WindowKind::PictureBox, *this, StateStyle() | WS_CLIPCHILDREN,
            owner.Border() ? WS_EX_CLIENTEDGE : 0, L"", Bounds(), parent);
        CreateChildWindows();
    }

    void WindowGoing() override {
        ChildWindowsGoing();
        window = nullptr;
    }

    // The border's width on each side: the system's sunken client edge.
    int Edge() const { return owner.Border() ? GetSystemMetrics(SM_CXEDGE) : 0; }

    // The backing image covers the client area, inside the border; it is
    // kept without a window too, since the saver draws and saves its boxes'
    // images whether or not they ever show.
    Surface& Canvas() {
        canvas.Resize(std::max(Bounds().width - 2 * Edge(), 0),
                      std::max(Bounds().height - 2 * Edge(), 0), owner.BackColor());
        return canvas;
    }

    PictureBox& owner;
    HWND window = nullptr;
    Surface canvas;
};

PictureBoxImpl& Of(const PictureBox& box) {
    return static_cast<PictureBoxImpl&>(box.ControlImpl());
}

} // namespace

PictureBox::PictureBox(Container& parent)
    : Control(std::make_unique<PictureBoxImpl>(parent.ContainerImpl(), *this)) {}

PictureBox::~PictureBox() = default;

Surface& PictureBox::BackingImage() const {
    return Of(*this).Canvas();
}

void PictureBox::BorderChanged() {
    if (const HWND window = Of(*this).window) {
        SetWindowLongW(window, GWL_EXSTYLE, m_border ? WS_EX_CLIENTEDGE : 0);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void PictureBox::RefreshCanvas() {
    if (const HWND window = Of(*this).window) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

Container::Impl& PictureBox::ContainerImpl() const {
    return Of(*this);
}

} // namespace kestrune::forms
