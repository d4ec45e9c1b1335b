#pragma once

#include "host/forms/forms_types.h"
#include "host/forms/picture.h"

// The backing image of a form, picture box or user control: everything the
// host draws goes here, and the window shows it again whenever it is
// repainted. Drawing is plain arithmetic on a Picture, the same on every
// platform, so what the host draws can be checked pixel by pixel without a
// window system.
namespace kestrune::forms {

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, Rgb fill);

    int Width() const { return m_image.width; }
    int Height() const { return m_image.height; }
    const Picture& Image() const { return m_image; }
    Rgb PixelAt(int x, int y) const;

    // A new size; what was drawn stays where it fits, new parts get `fill`.
    void Resize(int width, int height, Rgb fill);

    // Every pixel in `colour`.
    void Clear(Rgb colour);

    // A one-pixel line from `from` up to, but not including, `to`.
    void DrawLine(Point from, Point to, Rgb colour);

    // The one-pixel outline of `box`.
    void DrawRectangle(const Box& box, Rgb colour);

    // Copies the whole picture with its top-left corner at (x, y); what falls
    // outside the surface is clipped.
    void DrawPicture(const Picture& picture, int x, int y);

    // Copies `source` of the picture onto `destination` of the surface,
    // stretched or shrunk by picking the nearest source pixel.
    void StretchPicture(const Picture& picture, const Box& source, const Box& destination);

    // Fills `box` with a vertical gradient: `top` on its first row, `bottom`
    // on its last, each channel interpolated linearly in between.
    void FillVerticalGradient(const Box& box, Rgb top, Rgb bottom);

private:
    Picture m_image;
};

} // namespace kestrune::forms
