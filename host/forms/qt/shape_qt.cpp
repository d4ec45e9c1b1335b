#include "host/forms/shape.h"

#include "host/forms/qt/control_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QPainter>

namespace kestrune::forms {

namespace {

class ShapeWidget : public QWidget {
public:
    ShapeWidget() {
        // A shape takes no mouse input: its container gets the events.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    Rgb colour{0, 0, 0};

protected:
    void paintEvent(QPaintEvent*) override {
        if (width() <= 0 || height() <= 0) {
            return;
        }
        QPainter painter(this);
        painter.setPen(QPen(qt::ToQColor(colour), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
};

} // namespace

Shape::Shape(Container& parent)
    : Control(std::make_unique<Control::Impl>(parent.ContainerImpl(),
                                              std::make_unique<ShapeWidget>(), true)) {}

Shape::~Shape() = default;

void Shape::SetBorderColor(Rgb colour) {
    auto& widget = static_cast<ShapeWidget&>(*ControlImpl().widget);
    widget.colour = colour;
    widget.update();
}

} // namespace kestrune::forms
