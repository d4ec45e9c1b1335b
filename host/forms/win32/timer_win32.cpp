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
    if (form.window) {
        KillTimer(form.window, id);
    }
    std::erase(form.timers, this);
}

void Timer::Impl::Restart() {
    if (!form.window) {
        return;
    }
    if (owner.Enabled() && owner.Interval() > 0 && form.loaded) {
        // Setting a running timer again starts its interval anew.
        SetTimer(form.window, id, static_cast<UINT>(owner.Interval()), nullptr);
    } else {
        KillTimer(form.window, id);
    }
}

Timer::Timer(Form& form) : m_impl(std::make_unique<Impl>(*this, form.FormImpl())) {}

Timer::~Timer() = default;

void Timer::Restart() {
    m_impl->Restart();
}

} // namespace kestrune::forms
