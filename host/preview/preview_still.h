#pragma once

#include "host/forms/picture.h"

namespace kestrune {

// The preview's still: a 152 x 112 frame of the show, the Sierpinski
// tetrahedron in front of the blue star cluster. It is the stored file
// preview_still.ppm, carried inside the program. To make it again from the
// renderer's own code (after a change to the show's look):
//
//   kestrune-tool pictures /tmp/textures
//   kestrune-tool snapshot --time 0.3 --size 152x112 --textures /tmp/textures OUT.ppm
//
// and copy OUT.ppm over host/preview/preview_still.ppm.
Picture PreviewStill();

} // namespace kestrune
