#include "tests/host/controls/qt_test_support.h"

#include "host/forms/application.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace kestrune::test {

bool ProcessEventsUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (true) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace kestrune::test

int main(int argc, char** argv) {
    // Forms run on Qt's offscreen platform: no X server is needed, and a
    // display in the environment is left alone.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    kestrune::forms::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
