#include "host/forms/label.h"

namespace kestrune::forms {

void Label::SetCaption(const std::string& caption) {
    m_settings.caption = caption;
    Changed(Change::Caption);
}

const std::string& Label::Caption() const {
    return m_settings.caption;
}

void Label::SetFont(const Font& font) {
    m_settings.font = font;
    Changed(Change::Font);
}

const Font& Label::GetFont() const {
    return m_settings.font;
}

void Label::SetForeColor(Rgb colour) {
    m_settings.foreColor = colour;
    Changed(Change::Colours);
}

Rgb Label::ForeColor() const {
    return m_settings.foreColor;
}

void Label::SetTransparent(bool transparent) {
    m_settings.transparent = transparent;
    Changed(Change::Colours);
}

void Label::SetBackColor(Rgb colour) {
    m_settings.backColor = colour;
    Changed(Change::Colours);
}

void Label::SetBorder(bool single) {
    m_settings.border = single;
    Changed(Change::Border);
}

void Label::SetAlignment(Alignment alignment) {
    m_settings.alignment = alignment;
    Changed(Change::Alignment);
}

void Label::SetWordWrap(bool wrap) {
    m_settings.wordWrap = wrap;
    Changed(Change::WordWrap);
}

void Label::SetAutoSize(bool autoSize) {
    m_settings.autoSize = autoSize;
    Changed(Change::AutoSize);
}

void Label::SetPassMouseToContainer(bool pass) {
    m_settings.passMouse = pass;
    Changed(Change::PassMouse);
}

} // namespace kestrune::forms
