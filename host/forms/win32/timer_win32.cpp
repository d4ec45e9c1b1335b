#include "host/forms/timer.h"

#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/timer_impl.h"

#include <algorithm>

namespace kestrune::forms {

Timer::Impl::Impl(Timer& timerOwner, Form::Impl& timerForm)
    : owner(timerOwner), form(timerForm), id(timerForm.nextTimerId++) {
    form.timers.push_back(this);
}

Timer::Impl::~Impl() {
    *alive = false;
    if (form.window) {
        KillTimer(form.window, id);
    }
    std::erase(form.timers, this);
}

void Timer::Impl::Restart() {
    if (!form.window) {
        return;
    }
    if (enabled && interval > 0 && form.loaded) {
        // Setting a running timer again starts its interval anew.
        SetTimer(form.window, id, static_cast<UINT>(interval), nullptr);
    } else {
        KillTimer(form.window, id);
    }
}

void Timer::Impl::Tick() {
    // A tick whose handler waits in a loop of its own (a modal form, a
    // message box) lets the timer come due again meanwhile; that tick is
    // dropped, so ticks never overlap.
    if (ticking || !owner.onTick) {
        return;
    }
    ticking = true;
    const std::shared_ptr<bool> stillAlive = alive;
    owner.onTick();
    // The handler may have ended the timer's form, and the timer with it.
    if (*stillAlive) {
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
