#include "host/forms/image_control.h"

#include "host/forms/qt/control_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QMouseEvent>
#include <QPainter>

namespace kestrune::forms {

namespace {

class ImageWidget : public QWidget {
public:
    explicit ImageWidget(ImageControl& owner) : m_owner(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        // Where the picture does not reach, the container shows through.
        const Picture& picture = m_owner.GetPicture();
        if (picture.width <= 0 || picture.height <= 0) {
            return;
        }
        QPainter painter(this);
        const QImage image = qt::ImageView(picture);
        if (m_owner.Stretch()) {
            painter.drawImage(rect(), image);
        } else {
            painter.drawImage(0, 0, image);
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (m_owner.onMouseDown) {
            const QPoint at = event->position().toPoint();
            m_owner.onMouseDown(qt::ToMouseButton(event->button()),
                                qt::ToShiftState(event->modifiers()), at.x(), at.y());
        }
    }

private:
    ImageControl& m_owner;
};

} // namespace

ImageControl::ImageControl(Container& parent)
    : Control(std::make_unique<Control::Impl>(parent.ContainerImpl(),
                                              std::make_unique<ImageWidget>(*this), true)) {}

ImageControl::~ImageControl() = default;

void ImageControl::Changed() {
    ControlImpl().widget->update();
}

} // namespace kestrune::forms
