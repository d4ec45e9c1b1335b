#pragma once

#include "host/forms/picture.h"

namespace kestrune {

inline constexpr int kStarClusterSize = 256;

// A photograph-like open star cluster: a handful of bright blue-white stars
// and their fainter companions, wrapped in a wispy blue reflection haze, on a
// black field sprinkled with faint background stars. The haze fades out
// towards the edges, since the picture also covers sky-box faces whose edges
// meet.
Picture MakeStarClusterPicture();

} // namespace kestrune
