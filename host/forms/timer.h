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

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace kestrune::forms
