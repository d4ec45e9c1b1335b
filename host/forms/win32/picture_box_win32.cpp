#include "host/forms/picture_box.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/window_class_win32.h"

#include <algorithm>

namespace kestrune::forms {

namespace {

struct PictureBoxImpl : Control::Impl, Container::Impl {
    explicit PictureBoxImpl(Container::Impl& parent) : Control::Impl(parent, false) {}

    ~PictureBoxImpl() override {
        if (window) {
            DestroyWindow(window);
        }
    }

    HWND Handle() const override { return window; }
    HWND ChildWindow() const override { return window; }
    Form::Impl& OwnerForm() override { return container.OwnerForm(); }
    Surface& PaintCanvas() override { return Canvas(); }
    Rgb PaintBackground() const override { return backColor; }

    void CreateWindowIn(HWND parent) override {
        window = win32::CreateContainerWindow(win32::WindowKind::PictureBox, *this,
                                              StateStyle() | WS_CLIPCHILDREN,
                                              border ? WS_EX_CLIENTEDGE : 0, L"", Bounds(), parent);
        CreateChildWindows();
    }

    void WindowGoing() override {
        ChildWindowsGoing();
        window = nullptr;
    }

    // The border's width on each side: the system's sunken client edge.
    int Edge() const { return border ? GetSystemMetrics(SM_CXEDGE) : 0; }

    // The backing image covers the client area, inside the border; it is
    // kept without a window too, since the saver draws and saves its boxes'
    // images whether or not they ever show.
    Surface& Canvas() {
        canvas.Resize(std::max(Bounds().width - 2 * Edge(), 0),
                      std::max(Bounds().height - 2 * Edge(), 0), backColor);
        return canvas;
    }

    void Refresh() const {
        if (window) {
            InvalidateRect(window, nullptr, FALSE);
        }
    }

    HWND window = nullptr;
    Surface canvas;
    Rgb backColor{240, 240, 240};
    bool border = false;
};

PictureBoxImpl& Of(const PictureBox& box) {
    return static_cast<PictureBoxImpl&>(box.ControlImpl());
}

} // namespace

// A new box has no border, unlike the designer's default: the boxes that
// carry pictures are made that way, and a border would change their image.
PictureBox::PictureBox(Container& parent)
    : Control(std::make_unique<PictureBoxImpl>(parent.ContainerImpl())) {}

PictureBox::~PictureBox() = default;

void PictureBox::SetPicture(const Picture& picture) {
    PictureBoxImpl& box = Of(*this);
    if (!box.border) {
        Move(Left(), Top(), picture.width, picture.height);
    }
    Surface& canvas = box.Canvas();
    canvas.Clear(box.backColor);
    canvas.DrawPicture(picture, 0, 0);
    box.Refresh();
}

const Picture& PictureBox::Image() const {
    return Of(*this).Canvas().Image();
}

void PictureBox::SetBorder(bool single) {
    PictureBoxImpl& box = Of(*this);
    box.border = single;
    if (box.window) {
        SetWindowLongW(box.window, GWL_EXSTYLE, single ? WS_EX_CLIENTEDGE : 0);
        SetWindowPos(box.window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void PictureBox::SetBackColor(Rgb colour) {
    PictureBoxImpl& box = Of(*this);
    box.backColor = colour;
    box.Canvas().Clear(colour);
    box.Refresh();
}

Surface& PictureBox::Canvas() {
    return Of(*this).Canvas();
}

void PictureBox::RefreshCanvas() {
    Of(*this).Refresh();
}

Container::Impl& PictureBox::ContainerImpl() const {
    return Of(*this);
}

} // namespace kestrune::forms
