#include "host/forms/timer.h"

#include <algorithm>

namespace kestrune::forms {

void Timer::SetInterval(int milliseconds) {
    m_interval = std::max(milliseconds, 0);
    Restart();
}

int Timer::Interval() const {
    return m_interval;
}

void Timer::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Restart();
}

bool Timer::Enabled() const {
    return m_enabled;
}

void Timer::Elapsed() {
    // A tick whose handler waits in an event loop of its own (a modal form,
    // a message box) lets the timer come due again meanwhile; that tick is
    // dropped, so ticks never overlap.
    if (m_ticking || !onTick) {
        return;
    }
    m_ticking = true;
    const std::weak_ptr<bool> alive = m_alive;
    onTick();
    // The handler may have ended the timer's form, and the timer with it.
    if (!alive.expired()) {
        m_ticking = false;
    }
}

} // namespace kestrune::forms
