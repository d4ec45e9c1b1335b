#pragma once

#include "host/forms/form.h"
#include "host/forms/timer.h"

#include <windows.h>

namespace kestrune::forms {

// A timer is a SetTimer timer of its form's window: its ticks are WM_TIMER
// messages on the form's thread, which the system never lets pile up.
struct Timer::Impl {
    Impl(Timer& owner, Form::Impl& form);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Starts a new interval from now, or stops the ticks, as the timer's
    // settings and its form's state say.
    void Restart();
    void Tick() { owner.Elapsed(); }

    Timer& owner;
    Form::Impl& form;
    const UINT_PTR id;
};

} // namespace kestrune::forms
