#include "host/forms/user_control.h"

#include "host/forms/form.h"

namespace kestrune::forms {

void UserControl::SetOpaque(bool opaque) {
    m_opaque = opaque;
    Changed(Change::Opaque);
}

void UserControl::SetBackColor(Rgb colour) {
    m_backColor = colour;
    Changed(Change::BackColor);
}

void UserControl::SetTabStop(bool tabStop) {
    m_tabStop = tabStop;
    Changed(Change::TabStop);
}

Font UserControl::AmbientFont() const {
    return ParentForm().GetFont();
}

} // namespace kestrune::forms
