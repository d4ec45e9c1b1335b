#pragma once

#include "host/forms/form.h"

#include <memory>

namespace kestrune {

// The host's entry: decides from the command-line text which of the host's
// faces to show (the preview, the settings dialog or the screensaver run),
// guards against a second copy, prepares the texture folder, loads the
// settings and refuses to go on without the renderer. Where the process has
// no more to do it ends it here. Otherwise it returns the form that now keeps
// the process alive (the preview or the hidden saver form); the caller runs
// the event loop while that form is loaded and destroys it afterwards.
std::unique_ptr<forms::Form> Main();

// The only message the host shows: the renderer is not beside it.
inline constexpr const char* kRendererMissingMessage = "Kestrune.dll が同じﾌｫﾙﾀﾞに見つかりません！";

} // namespace kestrune
