#pragma once

#include "host/forms/application.h"
#include "host/forms/form.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// What the forms layer's tests share: the one application of the test
// program and event pumping (given per backend), a form that writes down its
// events, and the checks that every backend passes.
namespace kestrune::forms::test {

// The test program's application, made on first use. On Linux for the
// platform that the environment names (the caller sets QT_QPA_PLATFORM and
// DISPLAY first), with the command line "Kestrune.scr /p 1234".
Application& TestApplication();

// Runs the event loop until `condition` holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));
// Runs the event loop for a while, for checks that something does not happen.
void PumpFor(std::chrono::milliseconds duration);

const char* ModeName(UnloadMode mode);

// What a backend's test checks natively at the stages of a form's life.
struct NativeChecks {
    std::function<void(Form& form)> loaded;        // loaded, not yet shown
    std::function<void(Form& form)> shown;         // shown, its client area 496 by 246
    std::function<void(NativeWindow window)> gone; // the form's window after unloading
};

// A form's events in their order through loads, shows, cancelled and real
// unloads, and a close from outside through the event loop.
void CheckAFormsLife(const NativeChecks& native = {});
// Timers tick through the event loop one at a time, while enabled and their
// form is loaded, also while a tick waits on a modal form.
void CheckTimersTickOneAtATime();

class RecordingForm : public Form {
public:
    std::vector<std::string> events;
    int cancelQueryUnloads = 0;
    int cancelUnloads = 0;
    std::function<void()> onUnload;

protected:
    void Form_Load() override { events.push_back("Load"); }
    void Form_Resize() override { events.push_back("Resize"); }
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override {
        events.push_back(std::string("QueryUnload:") + ModeName(mode));
        if (cancelQueryUnloads > 0) {
            --cancelQueryUnloads;
            cancel = true;
        }
    }
    void Form_Unload(bool& cancel) override {
        events.push_back("Unload");
        if (cancelUnloads > 0) {
            --cancelUnloads;
            cancel = true;
        }
        if (onUnload) {
            onUnload();
        }
    }
};

} // namespace kestrune::forms::test
