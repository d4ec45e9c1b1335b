#pragma once

#include "host/forms/form.h"
#include "host/forms/timer.h"

#include <windows.h>

#include <memory>

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
    void Tick();

    Timer& owner;
    Form::Impl& form;
    const UINT_PTR id;
    int interval = 0;
    bool enabled = true;
    bool ticking = false;
    // Cleared when the timer goes, so that a tick can tell whether its
    // handler ended the timer's form and the timer with it.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

} // namespace kestrune::forms
