#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"
#include "host/forms/picture.h"
#include "host/forms/surface.h"

namespace kestrune::forms {

// A box that holds a stored picture and can be drawn on; it may hold other
// controls, which are drawn over its image. Its image is the backing image:
// the stored picture with whatever was drawn on it.
class PictureBox : public Control, public Container {
public:
    explicit PictureBox(Container& parent);
    ~PictureBox() override;

    // Replaces the image with `picture` and sizes the box to it when it has
    // no border (as the saver's boxes are made).
    void SetPicture(const Picture& picture);

    // The box's image, as saved to a file.
    const Picture& Image() const;

    void SetBorder(bool single);
    bool Border() const { return m_border; }
    void SetBackColor(Rgb colour);
    Rgb BackColor() const { return m_backColor; }

    Surface& Canvas();
    void RefreshCanvas();

    Container::Impl& ContainerImpl() const override;

private:
    // The backend's side: the backing image, kept the size of the client
    // area; and the border, shown anew after it changed.
    Surface& BackingImage() const;
    void BorderChanged();

    Rgb m_backColor{240, 240, 240};
    // A new box has no border, unlike the designer's default: the boxes that
    // carry pictures are made that way, and a border would change their image.
    bool m_border = false;
};

} // namespace kestrune::forms
