#include "host/forms/image_control.h"

namespace kestrune::forms {

void ImageControl::SetPicture(const Picture& picture) {
    m_picture = picture;
    Changed();
}

void ImageControl::SetStretch(bool stretch) {
    m_stretch = stretch;
    Changed();
}

} // namespace kestrune::forms
