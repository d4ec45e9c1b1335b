#include "tests/host/controls/qt_test_support.h"

#include "host/forms/application.h"
#include "tests/support/child_process.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrune::test {

bool ProcessEventsUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds deadline) {
    return WaitUntil(
        [&] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            return condition();
        },
        deadline, std::chrono::milliseconds(5));
}

namespace {

// The widget a button went down on: as the window system's implicit grab
// does, it gets the moves and the release until the button comes up.
QWidget* g_grab = nullptr;

// The widget with a window of its own that holds `widget`: where the window
// system sends the events of the point.
QWidget* NativeHost(QWidget* widget) {
    while (widget != nullptr && widget->windowHandle() == nullptr) {
        widget = widget->parentWidget();
    }
    return widget;
}

QWidget* Receiver(QPoint global) {
    return g_grab != nullptr ? g_grab : NativeHost(QApplication::widgetAt(global));
}

enum class Action { Move, Press, Release };

void Send(QWidget& widget, QPoint at, Action action, Qt::MouseButton button) {
    const QPoint global = widget.mapToGlobal(at);
    QCursor::setPos(global);
    QWidget* receiver = Receiver(global);
    if (receiver != nullptr) {
        const QPoint local = receiver->mapFromGlobal(global);
        switch (action) {
        case Action::Move:
            QTest::mouseMove(receiver->windowHandle(), local);
            break;
        case Action::Press:
            g_grab = receiver;
            QTest::mousePress(receiver->windowHandle(), button, {}, local);
            break;
        case Action::Release:
            g_grab = nullptr;
            QTest::mouseRelease(receiver->windowHandle(), button, {}, local);
            break;
        }
    }
    QCoreApplication::processEvents();
}

} // namespace

void MouseMove(QWidget& widget, QPoint at) {
    Send(widget, at, Action::Move, Qt::NoButton);
}

void MousePress(QWidget& widget, Qt::MouseButton button, QPoint at) {
    Send(widget, at, Action::Press, button);
}

void MouseRelease(QWidget& widget, Qt::MouseButton button, QPoint at) {
    Send(widget, at, Action::Release, button);
}

void MouseClick(QWidget& widget, Qt::MouseButton button) {
    const QPoint middle = widget.rect().center();
    MouseMove(widget, middle);
    MousePress(widget, button, middle);
    MouseRelease(widget, button, middle);
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
