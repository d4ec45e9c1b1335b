// kestrune-floor: the yardstick program of the frame-rate benchmarks. It runs
// the renderer's own shell with a scene that only draws one full-screen
// textured quad, from the fourth texture file in the renderer's texture
// folder, so that the show's frame rate can be compared with what the window,
// the loop and the swap alone allow on the same machine.

#include "bench/floor_scene.h"
#include "common/kestrune_names.h"
#include "renderer/shell/renderer_shell.h"

namespace {

// The largest of the texture files: the sky's picture, 512 x 512.
constexpr int kFloorTextureNumber = 4;

} // namespace

int main() {
    kestrune::FloorScene floor(kestrune::TextureFilePath(kFloorTextureNumber));
    return kestrune::RunRenderer(floor);
}
