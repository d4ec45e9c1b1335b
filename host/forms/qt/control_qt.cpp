#include "host/forms/control.h"

#include "host/forms/qt/control_impl.h"

#include <QTimer>
#include <QVariant>

namespace kestrune::forms {

namespace {

// Marks the widgets of windowed controls among a container's children.
constexpr const char* kWindowedProperty = "kestruneWindowed";

} // namespace

Control::Impl::Impl(Container::Impl& parent, std::unique_ptr<QWidget> control, bool windowless)
    : container(parent), widget(std::move(control)) {
    QWidget& area = container.ChildArea();
    widget->setParent(&area);
    widget->setProperty(kWindowedProperty, !windowless);
    if (windowless) {
        // Below the first windowed sibling, above the windowless ones made
        // before it.
        for (QObject* sibling : area.children()) {
            auto* siblingWidget = qobject_cast<QWidget*>(sibling);
            if (siblingWidget && siblingWidget != widget.get() &&
                siblingWidget->property(kWindowedProperty).toBool()) {
                widget->stackUnder(siblingWidget);
                break;
            }
        }
    } else {
        widget->raise();
    }
    if (area.isVisible()) {
        // On a container already on screen, showing the widget would send its
        // first events at once, into a control whose constructor has not
        // finished; it appears from the event loop instead.
        QTimer::singleShot(0, widget.get(), [this] { widget->setVisible(owner->Visible()); });
    } else {
        widget->show();
    }
}

Control::Impl::~Impl() = default;

void Control::Impl::Resize(int width, int height) {
    owner->Place(Box{owner->Left(), owner->Top(), width, height});
}

Control::Control(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {
    m_impl->owner = this;
}

Control::~Control() = default;

void Control::Placed(const Box&) {
    m_impl->widget->setGeometry(m_bounds.x, m_bounds.y, m_bounds.width, m_bounds.height);
}

void Control::Moved() {
    m_impl->Moved();
}

void Control::VisibleChanged() {
    m_impl->widget->setVisible(m_visible);
}

void Control::EnabledChanged() {
    m_impl->widget->setEnabled(m_enabled);
}

} // namespace kestrune::forms
