#include "host/forms/control.h"

#include "host/forms/qt/control_impl.h"

#include <QTimer>
#include <QVariant>

#include <algorithm>

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
        QTimer::singleShot(0, widget.get(), [this] { widget->setVisible(visible); });
    } else {
        widget->show();
    }
}

Control::Impl::~Impl() = default;

Control::Control(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

Control::~Control() = default;

void Control::Move(int left, int top, int width, int height) {
    m_impl->widget->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    m_impl->Moved();
}

int Control::Left() const {
    return m_impl->widget->x();
}

int Control::Top() const {
    return m_impl->widget->y();
}

int Control::Width() const {
    return m_impl->widget->width();
}

int Control::Height() const {
    return m_impl->widget->height();
}

void Control::SetVisible(bool visible) {
    m_impl->visible = visible;
    m_impl->widget->setVisible(visible);
}

bool Control::Visible() const {
    return m_impl->visible;
}

void Control::SetEnabled(bool enabled) {
    m_impl->widget->setEnabled(enabled);
}

bool Control::Enabled() const {
    return !m_impl->widget->testAttribute(Qt::WA_ForceDisabled);
}

} // namespace kestrune::forms
