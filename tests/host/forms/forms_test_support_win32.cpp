// The forms tests' application and event pumping on Windows.
#include "tests/host/forms/forms_test_support.h"

#include <windows.h>

namespace kestrune::forms::test {

Application& TestApplication() {
    // Made once and kept to the end: a program's application outlives its
    // forms.
    static Application* application = new Application(0, nullptr);
    return *application;
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
    return true;
}

} // namespace kestrune::forms::test
