#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the renderer does, decided from its command line. Started with no
// arguments (as the host starts it) it plays the fullscreen show. Started
// with a desktop screensaver's arguments (xscreensaver's conventions) it draws
// into a window that the screensaver gives it:
//
//   -root               the window named by XSCREENSAVER_WINDOW, or else the
//                       screen's root window
//   -window-id ID       the window ID, decimal or 0x hexadecimal
//   -delay MICROSECONDS the pause after each frame
//
// Each option is also accepted with two dashes, as xscreensaver writes them.
namespace kestrune {

// The pause after each frame when a screensaver names none: what the
// renderer's xscreensaver settings file offers as its default. A
// screensaver runs the show beside the user's other programs; a renderer
// that drew without a pause would take a whole core for frames that a
// screensaver's window does not need.
inline constexpr std::uint32_t kDefaultFrameDelayMicroseconds = 20000;

// The longest pause accepted: ten seconds, far beyond any frame rate a
// screensaver asks for, and short enough that a typing slip is refused.
inline constexpr std::uint32_t kLongestFrameDelayMicroseconds = 10'000'000;

// The renderer drawing into a window it was given.
struct EmbeddedMode {
    // The window to draw into; nothing for the screen's root window.
    std::optional<std::uint32_t> window;
    std::uint32_t frameDelayMicroseconds = kDefaultFrameDelayMicroseconds;
};

struct RendererMode {
    // Nothing: the fullscreen show, exactly as the host starts it.
    std::optional<EmbeddedMode> embedded;
    // Not empty when the arguments are refused: what is wrong with them.
    std::string error;
};

// The mode for `arguments` (the command line after the program name) and the
// value of XSCREENSAVER_WINDOW (null when unset). An explicit -window-id wins
// over -root, whatever their order: a screensaver's preview adds its window
// to a command line that may already say -root.
RendererMode ChooseRendererMode(std::span<const std::string_view> arguments,
                                const char* screensaverWindow);

// An X window ID as screensavers write it: decimal digits, or 0x (or 0X) and
// hexadecimal digits; at most 32 bits and never 0, which names no window.
std::optional<std::uint32_t> ParseWindowId(std::string_view text);

// The line that says how to start the renderer, for its error messages.
inline constexpr const char* kRendererUsage =
    "usage: Kestrune.dll                 the fullscreen show\n"
    "       Kestrune.dll -root | -window-id ID [-delay MICROSECONDS]\n"
    "                                    the show in a window a screensaver gives\n";

} // namespace kestrune
