#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"
#include "host/forms/picture.h"

#include <functional>

namespace kestrune::forms {

// A windowless control that shows one picture, drawn over its container's
// image.
class ImageControl : public Control {
public:
    explicit ImageControl(Container& parent);
    ~ImageControl() override;

    void SetPicture(const Picture& picture);
    const Picture& GetPicture() const { return m_picture; }

    // Stretched, the picture fills the control; otherwise it is shown at its
    // own size from the control's top-left corner, clipped.
    void SetStretch(bool stretch);
    bool Stretch() const { return m_stretch; }

    // A mouse button went down over the image (x and y in pixels within it).
    std::function<void(MouseButton button, ShiftState shift, int x, int y)> onMouseDown;

private:
    // The backend's side: draws the control anew.
    void Changed();

    Picture m_picture;
    bool m_stretch = false;
};

} // namespace kestrune::forms
