#pragma once

#include <chrono>
#include <functional>

// Support for the tests that run host forms under Qt's offscreen platform:
// their main makes the one forms application of the process first.
namespace kestrune::test {

// Runs the event loop (timers, posted events) until `condition` holds or the
// deadline passes; returns whether it held.
bool ProcessEventsUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds deadline = std::chrono::seconds(10));

} // namespace kestrune::test
