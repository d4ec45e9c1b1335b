#include "host/forms/user_control.h"

#include "host/forms/event_dispatch.h"
#include "host/forms/qt/control_impl.h"
#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace kestrune::forms {

namespace {

struct UserControlImpl;

class UserControlWidget : public QWidget {
public:
    explicit UserControlWidget(UserControl& owner);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    UserControlImpl& Impl() const;

    UserControl& m_owner;
};

struct UserControlImpl : Control::Impl, Container::Impl {
    UserControlImpl(Container::Impl& parent, UserControl& owner)
        : Control::Impl(parent, std::make_unique<UserControlWidget>(owner), false), control(owner) {
    }

    QWidget& ChildArea() override { return *widget; }
    Form::Impl& OwnerForm() override { return container.OwnerForm(); }
    Surface& Canvas() { return qt::SyncedCanvas(canvas, *widget, control.BackColor()); }

    void Moved() override { SizeChanged(); }

    // UserControl_Resize, once per new size: from Move at once (also while
    // the form is hidden, when Qt holds its resize events back until the
    // first showing) and from resizes that Qt reports.
    void SizeChanged() {
        const QSize size = widget->size();
        if (size == lastSize) {
            return;
        }
        lastSize = size;
        EventDispatch::Resize(control);
    }

    UserControl& control;
    Surface canvas;
    // The control holds the focus among its form's controls; it keeps it
    // while another program's window is active, as the designer's runtime
    // tells focus changes only between a form's own controls.
    bool focused = false;
    QSize lastSize{-1, -1};
};

UserControlWidget::UserControlWidget(UserControl& owner) : m_owner(owner) {
    // A window of its own, so that the window under the mouse (WindowFromPoint)
    // tells the control apart from its form. Its windowless children (its
    // caption) stay inside it.
    setAttribute(Qt::WA_NativeWindow);
    setMouseTracking(true);
    // Tab gives the focus; of the mouse buttons only the left one does, as on
    // Windows, so that a right click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

UserControlImpl& UserControlWidget::Impl() const {
    return static_cast<UserControlImpl&>(m_owner.ControlImpl());
}

void UserControlWidget::paintEvent(QPaintEvent*) {
    if (m_owner.Opaque()) {
        qt::PaintCanvas(*this, Impl().Canvas(), m_owner.BackColor());
        return;
    }
    // Transparent, the control is as large as its visible children (its
    // caption): its own image shows behind them, and everywhere else its
    // container shows through.
    QPainter painter(this);
    const QImage image = qt::ImageView(Impl().Canvas().Image());
    for (const QObject* child : children()) {
        const auto* childWidget = qobject_cast<const QWidget*>(child);
        if (childWidget && !childWidget->isHidden()) {
            painter.setClipRect(childWidget->geometry());
            painter.fillRect(childWidget->geometry(), qt::ToQColor(m_owner.BackColor()));
            painter.drawImage(0, 0, image);
        }
    }
}

void UserControlWidget::resizeEvent(QResizeEvent*) {
    Impl().SizeChanged();
}

void UserControlWidget::mousePressEvent(QMouseEvent* event) {
    // Qt keeps sending the moves and the release to the widget a button went
    // down on, wherever the mouse goes, as the window system's capture does.
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
    }
    const QPoint at = event->position().toPoint();
    EventDispatch::MouseDown(m_owner, qt::ToMouseButton(event->button()),
                             qt::ToShiftState(event->modifiers()), at.x(), at.y());
}

void UserControlWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    EventDispatch::MouseMove(m_owner, qt::ToButtonMask(event->buttons()),
                             qt::ToShiftState(event->modifiers()), at.x(), at.y());
}

void UserControlWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    EventDispatch::MouseUp(m_owner, qt::ToMouseButton(event->button()),
                           qt::ToShiftState(event->modifiers()), at.x(), at.y());
}

void UserControlWidget::focusInEvent(QFocusEvent*) {
    if (!Impl().focused) {
        Impl().focused = true;
        EventDispatch::GotFocus(m_owner);
    }
}

void UserControlWidget::focusOutEvent(QFocusEvent* event) {
    // The form losing the active state (another program, a popup) leaves the
    // control focused within its form.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        return;
    }
    if (Impl().focused) {
        Impl().focused = false;
        EventDispatch::LostFocus(m_owner);
    }
}

UserControlImpl& Of(const UserControl& control) {
    return static_cast<UserControlImpl&>(control.ControlImpl());
}

} // namespace

UserControl::UserControl(Container& parent)
    : Control(std::make_unique<UserControlImpl>(parent.ContainerImpl(), *this)) {}

UserControl::~UserControl() = default;

NativeWindow UserControl::Window() const {
    // Asking for the id makes the native window; before the form's own
    // window exists there is none to ask for.
    if (!Of(*this).OwnerForm().loaded) {
        return 0;
    }
    return static_cast<NativeWindow>(Of(*this).widget->winId());
}

Form& UserControl::ParentForm() const {
    return Of(*this).OwnerForm().owner;
}

void UserControl::Changed(Change what) {
    if (what == Change::TabStop) {
        Of(*this).widget->setFocusPolicy(m_tabStop ? Qt::TabFocus : Qt::NoFocus);
        return;
    }
    Of(*this).widget->update();
}

Surface& UserControl::Canvas() {
    return Of(*this).Canvas();
}

void UserControl::RefreshCanvas() {
    Of(*this).widget->update();
}

bool UserControl::HasFocus() const {
    return Of(*this).focused;
}

void UserControl::SetFocus() {
    Of(*this).widget->setFocus(Qt::OtherFocusReason);
}

Container::Impl& UserControl::ContainerImpl() const {
    return Of(*this);
}

} // namespace kestrune::forms
