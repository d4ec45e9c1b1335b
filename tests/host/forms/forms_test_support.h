#pragma once

#include "host/forms/application.h"
#include "host/forms/form.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// What the forms layer's tests share: the one application of the test
// program, event pumping, and a form that writes down its events.
namespace kestrune::forms::test {

// The test program's application, made on first use for the platform that
// the environment names (the caller sets QT_QPA_PLATFORM and DISPLAY first).
// Its command line is "Kestrune.scr /p 1234".
Application& TestApplication();

// Runs the event loop until `condition` holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));
// Runs the event loop for a while, for checks that something does not happen.
void PumpFor(std::chrono::milliseconds duration);

const char* ModeName(UnloadMode mode);

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
