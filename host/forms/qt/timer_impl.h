#pragma once

#include "host/forms/form.h"
#include "host/forms/timer.h"

#include <QTimer>

namespace kestrune::forms {

struct Timer::Impl {
    Impl(Timer& owner, Form::Impl& form);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Starts a new interval from now, or stops the ticks, as the timer's
    // settings and its form's state say.
    void Restart();
    void Tick();

    Timer& owner;
    Form::Impl& form;
    QTimer timer;
    int interval = 0;
    bool enabled = true;
    bool ticking = false;
};

} // namespace kestrune::forms
