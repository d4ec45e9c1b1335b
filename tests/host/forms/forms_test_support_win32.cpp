// The forms tests' application and event pumping on Windows.
#include "tests/host/forms/forms_test_support.h"

#include "tests/support/child_process.h"

#include <windows.h>

namespace kestrune::forms::test {

Application& TestApplication() {
    // Made once and kept to the end: a program's application outlives its
    // forms.
    static Application* application = new Application(0, nullptr);
    return *application;
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    // Each look handles what is queued, then waits up to 2 ms for more.
    return kestrune::test::WaitUntil(
        [&] {
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (condition()) {
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
            return false;
        },
        deadline, std::chrono::milliseconds(0));
}

} // namespace kestrune::forms::test
