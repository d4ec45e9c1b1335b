#include "host/forms/picture_box.h"

namespace kestrune::forms {

void PictureBox::SetPicture(const Picture& picture) {
    if (!m_border) {
        Move(Left(), Top(), picture.width, picture.height);
    }
    Surface& canvas = Canvas();
    canvas.Clear(m_backColor);
    canvas.DrawPicture(picture, 0, 0);
    RefreshCanvas();
}

const Picture& PictureBox::Image() const {
    return BackingImage().Image();
}

void PictureBox::SetBorder(bool single) {
    m_border = single;
    BorderChanged();
}

void PictureBox::SetBackColor(Rgb colour) {
    m_backColor = colour;
    Canvas().Clear(colour);
    RefreshCanvas();
}

Surface& PictureBox::Canvas() {
    return BackingImage();
}

} // namespace kestrune::forms
