#pragma once

#include "host/forms/forms_types.h"
#include "host/forms/picture.h"
#include "host/forms/win32/gdi_handles.h"

#include <windows.h>

// The layer's pictures, cursors and colours in GDI's terms.
namespace kestrune::forms::win32 {

inline COLORREF ColourRef(Rgb colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

inline RECT RectOf(const Box& box) {
    return RECT{box.x, box.y, box.x + box.width, box.y + box.height};
}

// Draws the whole picture onto `destination`, stretched or shrunk by taking
// the nearest source pixel (so a picture drawn at its own size comes out
// pixel for pixel). The picture goes to GDI as a top-down 32-bit DIB.
void DrawPicture(HDC dc, const Picture& picture, const Box& destination);

// An icon of the picture's size, every pixel opaque.
OwnedIcon MakeIcon(const Picture& picture);

// A two-colour cursor with its transparent parts.
OwnedCursor MakeCursor(const MonoCursor& cursor);

} // namespace kestrune::forms::win32
