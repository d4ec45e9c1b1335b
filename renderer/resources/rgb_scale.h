#pragma once

#include "renderer/resources/rgb_image.h"

namespace kestrune {

// The picture resampled to width x height (both at least 1) by bilinear
// filtering between pixel centres, so that a uniform picture stays uniform
// and corners stay in their corners. Rows keep their order: the first is the
// bottom one.
RgbImage ScaleRgbImage(const RgbImage& source, int width, int height);

} // namespace kestrune
