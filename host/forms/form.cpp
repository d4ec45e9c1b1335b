#include "host/forms/form.h"

namespace kestrune::forms {

void Form::SetCaption(const std::string& caption) {
    m_settings.caption = caption;
    Changed(Change::Caption);
}

const std::string& Form::Caption() const {
    return m_settings.caption;
}

void Form::SetBorderStyle(BorderStyle style) {
    // The border belongs to the form's layout and is set before loading: a
    // window cannot change its kind once it exists without being made anew,
    // under a new id.
    if (IsLoaded()) {
        return;
    }
    m_settings.borderStyle = style;
    Changed(Change::BorderStyle);
}

void Form::SetFont(const Font& font) {
    m_settings.font = font;
}

const Font& Form::GetFont() const {
    return m_settings.font;
}

void Form::SetBackColor(Rgb colour) {
    // As on the window system the forms were designed for, a new background
    // colour clears what was drawn.
    m_settings.backColor = colour;
    Canvas().Clear(colour);
    RefreshCanvas();
}

} // namespace kestrune::forms
