#include "host/forms/timer.h"

#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/timer_impl.h"

#include <algorithm>

namespace kestrune::forms {

Timer::Impl::Impl(Timer& timerOwner, Form::Impl& timerForm) : owner(timerOwner), form(timerForm) {
    form.timers.push_back(this);
    QObject::connect(&timer, &QTimer::timeout, [this] { owner.Elapsed(); });
}

Timer::Impl::~Impl() {
    std::erase(form.timers, this);
}

void Timer::Impl::Restart() {
    if (owner.Enabled() && owner.Interval() > 0 && form.loaded) {
        timer.start(owner.Interval());
    } else {
        timer.stop();
    }
}

Timer::Timer(Form& form) : m_impl(std::make_unique<Impl>(*this, form.FormImpl())) {}

Timer::~Timer() = default;

void Timer::Restart() {
    m_impl->Restart();
}

} // namespace kestrune::forms
