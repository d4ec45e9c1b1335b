#include "host/forms/combo_box.h"

#include "host/forms/qt/control_impl.h"
#include "host/forms/qt/form_impl.h"
#include "host/forms/qt/qt_conversions.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace kestrune::forms {

namespace {

using qt::FromUtf8;
using qt::ToUtf8;

std::unique_ptr<QComboBox> MakeComboBox(Container::Impl& parent) {
    auto combo = std::make_unique<QComboBox>();
    combo->setEditable(true);
    // The list is the program's: typing neither adds entries to it nor is
    // completed from it.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setFont(qt::ToQFont(parent.OwnerForm().font));
    return combo;
}

QComboBox& Of(const ComboBox& control) {
    return static_cast<QComboBox&>(*control.ControlImpl().widget);
}

} // namespace

ComboBox::ComboBox(Container& parent)
    : Control(std::make_unique<Control::Impl>(parent.ContainerImpl(),
                                              MakeComboBox(parent.ContainerImpl()), false)) {}

ComboBox::~ComboBox() = default;

void ComboBox::SetText(const std::string& text) {
    Of(*this).setEditText(FromUtf8(text));
}

std::string ComboBox::Text() const {
    return ToUtf8(Of(*this).currentText());
}

void ComboBox::AddItem(const std::string& item) {
    // Adding to the list leaves the edit field as it is; Qt would otherwise
    // make the first entry the current one and show its text.
    QComboBox& combo = Of(*this);
    const QSignalBlocker blocker(combo);
    const QString text = combo.currentText();
    combo.addItem(FromUtf8(item));
    if (combo.count() == 1) {
        combo.setCurrentIndex(-1);
    }
    combo.setEditText(text);
}

void ComboBox::ClearItems() {
    Of(*this).clear();
}

int ComboBox::ListCount() const {
    return Of(*this).count();
}

std::string ComboBox::List(int index) const {
    const QComboBox& combo = Of(*this);
    return index >= 0 && index < combo.count() ? ToUtf8(combo.itemText(index)) : std::string();
}

void ComboBox::SetFont(const Font& font) {
    Of(*this).setFont(qt::ToQFont(font));
}

void ComboBox::SetBackColor(Rgb colour) {
    QComboBox& combo = Of(*this);
    QPalette palette = combo.palette();
    palette.setColor(QPalette::Base, qt::ToQColor(colour));
    combo.setPalette(palette);
}

} // namespace kestrune::forms
