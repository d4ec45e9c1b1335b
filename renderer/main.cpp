// Kestrune.dll: the renderer program. With no arguments, as the host starts
// it, it plays the one show fullscreen. With a desktop screensaver's
// arguments (renderer_mode.h) it plays the same show inside the window the
// screensaver gives it. It reads no settings.

#include "renderer/shell/embedded_shell.h"
#include "renderer/shell/renderer_mode.h"
#include "renderer/shell/renderer_shell.h"
#include "renderer/shell/stop_signals.h"
#include "renderer/show/show.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

// The show and its objects live for the whole process: built before the
// entry runs and destroyed after it returns, when the context is gone.
kestrune::Show g_show;

} // namespace

int main(int argc, char** argv) {
    // First of all, so that a stop request is never lost to the default
    // action, which would leave the display in the show's mode.
    kestrune::InstallStopSignalHandlers();

    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const kestrune::RendererMode mode =
        kestrune::ChooseRendererMode(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!mode.error.empty()) {
        std::fprintf(stderr, "Kestrune.dll: %s\n%s", mode.error.c_str(), kestrune::kRendererUsage);
        return 1;
    }
    if (mode.embedded) {
        return kestrune::RunEmbeddedRenderer(g_show, *mode.embedded);
    }
    return kestrune::RunRenderer(g_show);
}
