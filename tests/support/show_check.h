#pragma once

#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrune::test {

// "The screen shows the show": the one judgement every whole-program test
// makes of a picture of Kestrune's show, wherever the show runs (fullscreen,
// in a given window, under xscreensaver, installed, under Wine).
//
// The show is a star-field sky box: every part of the picture holds stars and
// nebula in many shades, and the whole stays dark. What only looks like it
// leaves some part flat or the whole too bright: the show without its
// textures (a white, bare sky), a message box or an error screen (text on a
// plain ground), a black screen. A still picture is no show either: the
// camera orbits, so two looks a moment apart differ.

// A rectangle of the screen, in screen pixels.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 1024;
    int height = 768;
};

// Why `rgb` (`width` x `height`, top row first) is not a picture of the show;
// empty when it is one.
std::string WhyNotAPictureOfTheShow(const std::vector<std::uint8_t>& rgb, int width, int height);

// What watching `area` for the show found: whether it was shown, and if not,
// why not and the last picture looked at.
struct ShowWatch {
    bool shown = false;
    std::string whyNot;
    std::vector<std::uint8_t> lastPicture;
};

// Watches `area` until it shows the show: a picture of it, which changes from
// one look to the next, while `rendererRuns` holds; or until the deadline.
ShowWatch WatchForTheShow(X11Connection& x11, const ScreenArea& area,
                          const std::function<bool()>& rendererRuns,
                          std::chrono::milliseconds deadline);

// The same as a test's assertion: on failure it says what the last look found,
// and keeps that picture beside the test as "<test>-screen.ppm".
::testing::AssertionResult WaitForTheShow(X11Connection& x11, const ScreenArea& area,
                                          const std::function<bool()>& rendererRuns,
                                          std::chrono::milliseconds deadline);

} // namespace kestrune::test
