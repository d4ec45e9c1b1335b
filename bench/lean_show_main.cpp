// kestrune-lean-show: the renderer with its overlay drawn only during the
// fade-in, for the whole-program benchmark's comparison. Not a product.

#include "bench/lean_show_scene.h"
#include "renderer/shell/renderer_shell.h"

namespace {

// Like the renderer's show, the scene lives for the whole process.
kestrune::LeanShowScene g_scene;

} // namespace

int main() {
    return kestrune::RunRenderer(g_scene);
}
