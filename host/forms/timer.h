#pragma once

#include <functional>
#include <memory>

namespace kestrune::forms {

class Form;

// A timer of a form: while enabled and its form is loaded, onTick runs every
// Interval milliseconds on the form's thread, through the event loop, one
// tick at a time. A tick that comes while the event loop is busy waits for
// it; ticks never overlap or pile up.
class Timer {
public:
    struct Impl;
    explicit Timer(Form& form);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // A changed interval takes effect from now. 0 stops the ticks.
    void SetInterval(int milliseconds);
    int Interval() const;

    // Enabling (again) starts a new interval from now.
    void SetEnabled(bool enabled);
    bool Enabled() const;

    std::function<void()> onTick;

    // The backend calls it when an interval is up: runs onTick unless a tick
    // is still running.
    void Elapsed();

private:
    // Starts a new interval from now, or stops the ticks, as the settings and
    // the form's state say; the backend's.
    void Restart();

    std::unique_ptr<Impl> m_impl;
    int m_interval = 0;
    bool m_enabled = true;
    bool m_ticking = false;
    // Gone with the timer, so that a tick can tell whether its handler ended
    // the timer's form and the timer with it.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace kestrune::forms
