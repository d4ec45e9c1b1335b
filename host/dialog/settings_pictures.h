#pragma once

#include "host/forms/forms_types.h"
#include "host/forms/picture.h"

// The pictures the settings dialog carries, drawn by its own code: the panel's
// grain, the two choice marks, the window's icon and the link's hand cursor.
// Each comes out the same, byte for byte, on every run and platform.
namespace kestrune {

inline constexpr int kGrainWidth = 556;
inline constexpr int kGrainHeight = 20;
inline constexpr int kMarkSize = 12;
inline constexpr int kIconSize = 32;

// A light grey grain (grey levels 160 to 224) that tiles without seams,
// side by side and one below the other.
Picture MakeGrainTexture();

// The mark beside a choice: an empty round mark, or with a dot when the
// choice is the selected one.
Picture MakeChoiceMark(bool selected);

// The window's icon: a Sierpinski triangle in gold over a dark-blue sky.
Picture MakeDialogIcon();

// A pointing hand, black outline, white inside, its fingertip at the hot spot
// (12, 10).
forms::MonoCursor MakeHandCursor();

} // namespace kestrune
