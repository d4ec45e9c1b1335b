#pragma once

#include "host/forms/picture.h"

namespace kestrune {

inline constexpr int kStarSpriteSize = 64;

// The particle sprite: one bright white star in the middle with a soft
// bluish-white halo and faint cross-shaped rays, all fading to exact black
// well before the edges. The sprite is drawn with additive blending, so any
// light left at its edges would show as a square around every spark.
Picture MakeStarSpritePicture();

} // namespace kestrune
