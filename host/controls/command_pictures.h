#pragma once

#include "host/forms/picture.h"

namespace kestrune {

// The six looks of the command button. Each has a 64 x 25 picture of which
// only the outer 4-pixel frame is ever drawn; the gradient fills the middle.
enum class CommandLook {
    Normal,          // at rest, and the enabled look
    HighLight,       // hovered
    HighLightSelect, // hovered while it has the focus
    Selected,        // focused, mouse away
    Pressed,         // left button down
    Disable,         // disabled
};

inline constexpr int kCommandPictureWidth = 64;
inline constexpr int kCommandPictureHeight = 25;

// The picture of one look, drawn once per process and kept.
const Picture& CommandLookPicture(CommandLook look);

// Draws the picture of one look afresh (what CommandLookPicture keeps).
Picture MakeCommandLookPicture(CommandLook look);

} // namespace kestrune
