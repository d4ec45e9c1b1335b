// Kestrune.dll on Windows: the renderer program. It takes no arguments and
// reads no settings; everything it shows is the one show.

#include "renderer/shell/renderer_shell.h"
#include "renderer/show/show.h"

#include <windows.h>

namespace {

// The show and its objects live for the whole process: built before the
// entry runs and destroyed after it returns, when the context is gone.
kestrune::Show g_show;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return kestrune::RunRenderer(g_show);
}
