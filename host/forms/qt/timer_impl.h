#pragma once

#include "host/forms/form.h"
#include "host/forms/timer.h"

#include <QTimer>

namespace kestrune::forms {

// A timer is a QTimer: its ticks come through the event loop.
struct Timer::Impl {
    Impl(Timer& owner, Form::Impl& form);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Starts a new interval from now, or stops the ticks, as the timer's
    // settings and its form's state say.
    void Restart();

    Timer& owner;
    Form::Impl& form;
    QTimer timer;
};

} // namespace kestrune::forms
