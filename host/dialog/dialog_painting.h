#pragma once

#include "host/forms/picture.h"
#include "host/forms/surface.h"

// What the settings dialog paints itself: the window's gradient and the
// panel's tiled texture. Both draw into a backing image, in pixels.
namespace kestrune {

// The window's background: a dark-blue vertical gradient, one horizontal line
// per row, from (0, 0, 30) at the top and bottom edges to (220, 220, 250) at
// mid-height.
void PaintGradientBackground(forms::Surface& surface);

// Covers the panel with copies of `texture`, column by column from its
// top-left corner; copies that reach beyond the panel are clipped.
void TilePicture(forms::Surface& panel, const Picture& texture);

} // namespace kestrune
