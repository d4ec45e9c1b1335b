#pragma once

#include "host/forms/forms_types.h"
#include "host/forms/win32/gdi_handles.h"

#include <string>

namespace kestrune::forms::win32 {

// The installed face that stands in for the face a layout names: the face
// itself (by its Japanese or its English name) when it is installed. A
// Japanese face that is not installed (a Windows without the Japanese
// supplemental fonts) falls back, in order, to the Japanese UI faces every
// Windows of this century carries, and then to any installed face with
// Japanese glyphs, so the dialog's labels never show empty boxes. Other
// faces are left to the system's font mapper.
std::wstring InstalledFaceFor(const Font& font);

// A GDI font for the layer's font, sized for the screen's resolution.
OwnedFont MakeFont(const Font& font);

} // namespace kestrune::forms::win32
