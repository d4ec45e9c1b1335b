#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"

#include <string>

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
    void SetBackColor(Rgb colour);
};

} // namespace kestrune::forms
