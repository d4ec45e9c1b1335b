// The forms tests' application and event pumping on Qt.
#include "tests/host/forms/forms_test_support.h"

#include "tests/support/child_process.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace kestrune::forms::test {

namespace {

std::unique_ptr<Application>& TestApplicationStorage() {
    static std::unique_ptr<Application> application;
    return application;
}

} // namespace

Application& TestApplication() {
    static int argc = 3;
    static char program[] = "Kestrune.scr";
    static char mode[] = "/p";
    static char window[] = "1234";
    static char* argv[] = {program, mode, window, nullptr};
    auto& application = TestApplicationStorage();
    if (!application) {
        application = std::make_unique<Application>(argc, argv);
    }
    return *application;
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    return kestrune::test::WaitUntil(
        [&] {
            QCoreApplication::processEvents();
            return condition();
        },
        deadline, std::chrono::milliseconds(2));
}

} // namespace kestrune::forms::test

// The forms tests' own main: the application ends when the tests do, as a
// program's does when its main returns. Left to the C library's exit
// handlers, it would outlive parts of Qt that it still uses as it goes.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    kestrune::forms::test::TestApplicationStorage().reset();
    return result;
}
