#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"

#include <string>
#include <vector>

namespace kestrune::forms {

// A drop-down combo box with an editable text and a list to choose from.
class ComboBox : public Control {
public:
    explicit ComboBox(Container& parent);
    ~ComboBox() override;

    // UTF-8 text of the edit field.
    void SetText(const std::string& text);
    std::string Text() const;

    void AddItem(const std::string& item);
    void ClearItems();
    int ListCount() const;
    std::string List(int index) const;

    void SetFont(const Font& font);
    const Font& GetFont() const { return m_font; }
    void SetBackColor(Rgb colour);
    Rgb BackColor() const { return m_backColor; }

private:
    // What a setter changed, for the backend.
    enum class Change { ItemAdded, ItemsCleared, Font, BackColor };
    // The backend's side: shows the change (an added item is the list's
    // last).
    void Changed(Change what);

    // The list is the program's alone: typing never adds to it.
    std::vector<std::string> m_items;
    Font m_font;
    Rgb m_backColor{255, 255, 255};
};

} // namespace kestrune::forms
