#include "host/forms/shape.h"

#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/gdi_drawing.h"

namespace kestrune::forms {

namespace {

// A shape takes no mouse input: its container gets the events.
struct ShapeImpl : Control::Impl {
    explicit ShapeImpl(Container::Impl& parent) : Control::Impl(parent, true) {}

    void Paint(HDC dc) override {
        if (Bounds().width <= 0 || Bounds().height <= 0) {
            return;
        }
        const RECT outline = win32::RectOf(Bounds());
        const win32::OwnedBrush brush(CreateSolidBrush(win32::ColourRef(colour)));
        FrameRect(dc, &outline, brush.get());
    }

    Rgb colour{0, 0, 0};
};

} // namespace

Shape::Shape(Container& parent) : Control(std::make_unique<ShapeImpl>(parent.ContainerImpl())) {}

Shape::~Shape() = default;

void Shape::SetBorderColor(Rgb colour) {
    static_cast<ShapeImpl&>(ControlImpl()).colour = colour;
    ControlImpl().Repaint();
}

} // namespace kestrune::forms
