#include "host/forms/combo_box.h"

namespace kestrune::forms {

void ComboBox::AddItem(const std::string& item) {
    m_items.push_back(item);
    Changed(Change::ItemAdded);
}

void ComboBox::ClearItems() {
    m_items.clear();
    Changed(Change::ItemsCleared);
}

int ComboBox::ListCount() const {
    return static_cast<int>(m_items.size());
}

std::string ComboBox::List(int index) const {
    return index >= 0 && index < ListCount() ? m_items[static_cast<std::size_t>(index)]
                                             : std::string();
}

void ComboBox::SetFont(const Font& font) {
    m_font = font;
    Changed(Change::Font);
}

void ComboBox::SetBackColor(Rgb colour) {
    m_backColor = colour;
    Changed(Change::BackColor);
}

} // namespace kestrune::forms
