#pragma once

#include "host/forms/picture.h"

namespace kestrune {

inline constexpr int kNightSkySize = 512;

// A dark sky with a sparse scatter of small white and bluish stars: most of
// them faint single points, a few brighter ones with a little glow.
Picture MakeNightSkyPicture();

} // namespace kestrune
