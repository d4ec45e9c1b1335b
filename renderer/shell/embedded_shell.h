#pragma once

#include "renderer/shell/renderer_mode.h"
#include "renderer/shell/scene.h"

namespace kestrune {

// The renderer drawing into a window that a desktop screensaver gives it
// (its fullscreen window, or the little preview in its settings). It draws
// at that window's size and follows it when it is resized; it never changes
// the display mode, asks no question, hides no cursor and opens no top-level
// window of its own. It runs until SIGINT or SIGTERM (stop_signals.h), or
// until the window is destroyed, then frees the show's OpenGL objects while
// their context is current and returns 0. Returns 1, with the reason on
// standard error, when it cannot draw into the window at all (no display,
// no such window, no OpenGL). Implemented where the platform has such
// screensavers (embedded_shell_x11.cpp).
int RunEmbeddedRenderer(Scene& scene, const EmbeddedMode& mode);

} // namespace kestrune
