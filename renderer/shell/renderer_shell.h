#pragma once

#include "renderer/shell/scene.h"

namespace kestrune {

// The renderer's whole run on this platform: create the window titled
// "Kestrune_VC" (fullscreen 1024 x 768, or windowed if the user agrees), run
// the message-and-frame loop until Escape or a close request, tear down.
// Returns the process exit code. One implementation per platform.
int RunRenderer(Scene& scene);

} // namespace kestrune
