#pragma once

#include <chrono>
#include <functional>

#include <Qt>

class QPoint;
class QWidget;

// Support for the tests that run host forms under Qt's offscreen platform:
// their main makes the one forms application of the process first.
namespace kestrune::test {

// Runs the event loop (timers, posted events) until `condition` holds or the
// deadline passes; returns whether it held.
bool ProcessEventsUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds deadline = std::chrono::seconds(10));

// The mouse as a user moves it, at a point of `widget`: the cursor goes there
// and the event goes through the widget's window, so Qt picks the widget
// under the mouse, gives the focus on a press and keeps sending a held
// button's moves to the widget it went down on.
void MouseMove(QWidget& widget, QPoint at);
void MousePress(QWidget& widget, Qt::MouseButton button, QPoint at);
void MouseRelease(QWidget& widget, Qt::MouseButton button, QPoint at);
// Moves onto the middle of `widget`, then presses and releases `button`.
void MouseClick(QWidget& widget, Qt::MouseButton button = Qt::LeftButton);

} // namespace kestrune::test
