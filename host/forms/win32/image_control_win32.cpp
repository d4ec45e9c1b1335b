#include "host/forms/image_control.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/gdi_drawing.h"

namespace kestrune::forms {

namespace {

struct ImageImpl : Control::Impl {
    ImageImpl(Container::Impl& parent, ImageControl& image)
        : Control::Impl(parent, true), owner(image) {}

    void Paint(HDC dc) override {
        // Where the picture does not reach, the container shows through.
        const Picture& picture = owner.GetPicture();
        if (picture.width <= 0 || picture.height <= 0) {
            return;
        }
        if (owner.Stretch()) {
            win32::DrawPicture(dc, picture, Bounds());
            return;
        }
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, Bounds().x, Bounds().y, Bounds().x + Bounds().width,
                          Bounds().y + Bounds().height);
        win32::DrawPicture(dc, picture, Box{Bounds().x, Bounds().y, picture.width, picture.height});
        RestoreDC(dc, saved);
    }

    bool TakesMouse() const override { return true; }
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override {
        if (owner.onMouseDown) {
            owner.onMouseDown(button, shift, x, y);
        }
    }

    ImageControl& owner;
};

} // namespace

ImageControl::ImageControl(Container& parent)
    : Control(std::make_unique<ImageImpl>(parent.ContainerImpl(), *this)) {}

ImageControl::~ImageControl() = default;

void ImageControl::Changed() {
    ControlImpl().Repaint();
}

} // namespace kestrune::forms
