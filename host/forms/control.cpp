#include "host/forms/control.h"

#include <algorithm>
#include <utility>

namespace kestrune::forms {

void Control::Move(int left, int top, int width, int height) {
    Place(Box{left, top, std::max(width, 0), std::max(height, 0)});
    Moved();
}

void Control::Place(const Box& bounds) {
    const Box before = std::exchange(m_bounds, bounds);
    Placed(before);
}

int Control::Left() const {
    return m_bounds.x;
}

int Control::Top() const {
    return m_bounds.y;
}

int Control::Width() const {
    return m_bounds.width;
}

int Control::Height() const {
    return m_bounds.height;
}

void Control::SetVisible(bool visible) {
    m_visible = visible;
    VisibleChanged();
}

bool Control::Visible() const {
    return m_visible;
}

void Control::SetEnabled(bool enabled) {
    m_enabled = enabled;
    EnabledChanged();
}

bool Control::Enabled() const {
    return m_enabled;
}

} // namespace kestrune::forms
