#include "host/forms/timer.h"

#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/timer_impl.h"

#include <QPointer>

#include <algorithm>

namespace kestrune::forms {

Timer::Impl::Impl(Timer& timerOwner, Form::Impl& timerForm) : owner(timerOwner), form(timerForm) {
    form.timers.push_back(this);
    QObject::connect(&timer, &QTimer::timeout, [this] { Tick(); });
}

Timer::Impl::~Impl() {
    std::erase(form.timers, this);
}

void Timer::Impl::Restart() {
    if (enabled && interval > 0 && form.loaded) {
        timer.start(interval);
    } else {
        timer.stop();
    }
}

void Timer::Impl::Tick() {
    // A tick whose handler waits in an event loop of its own (a modal form,
    // a message box) lets the timer come due again meanwhile; that tick is
    // dropped, so ticks never overlap.
    if (ticking || !owner.onTick) {
        return;
    }
    ticking = true;
    QPointer<QTimer> alive(&timer);
    owner.onTick();
    // The handler may have ended the timer's form, and the timer with it.
    if (alive) {
        ticking = false;
    }
}

Timer::Timer(Form& form) : m_impl(std::make_unique<Impl>(*this, form.FormImpl())) {}

Timer::~Timer() = default;

void Timer::SetInterval(int milliseconds) {
    m_impl->interval = std::max(milliseconds, 0);
    m_impl->Restart();
}

int Timer::Interval() const {
    return m_impl->interval;
}

void Timer::SetEnabled(bool enabled) {
    m_impl->enabled = enabled;
    m_impl->Restart();
}

bool Timer::Enabled() const {
    return m_impl->enabled;
}

} // namespace kestrune::forms
