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

std::unique_ptr<QComboBox> MakeComboBox() {
    auto combo = std::make_unique<QComboBox>();
    combo->setEditable(true);
    // The list is the program's: typing neither adds entries to it nor is
    // completed from it.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

QComboBox& Of(const ComboBox& control) {
    return static_cast<QComboBox&>(*control.ControlImpl().widget);
}

} // namespace

ComboBox::ComboBox(Container& parent)
    : Control(std::make_unique<Control::Impl>(parent.ContainerImpl(), MakeComboBox(), false)) {
    m_font = parent.ContainerImpl().OwnerForm().owner.GetFont();
    Changed(Change::Font);
}

ComboBox::~ComboBox() = default;

void ComboBox::SetText(const std::string& text) {
    Of(*this).setEditText(FromUtf8(text));
}

std::string ComboBox::Text() const {
    return ToUtf8(Of(*this).currentText());
}

void ComboBox::Changed(Change what) {
    QComboBox& combo = Of(*this);
    switch (what) {
    case Change::ItemAdded: {
        // Adding to the list leaves the edit field as it is; Qt would
        // otherwise make the first entry the current one and show its text.
        const QSignalBlocker blocker(combo);
        const QString text = combo.currentText();
        combo.addItem(FromUtf8(m_items.back()));
        if (combo.count() == 1) {
            combo.setCurrentIndex(-1);
        }
        combo.setEditText(text);
        break;
    }
    case Change::ItemsCleared:
        combo.clear();
        break;
    case Change::Font:
        combo.setFont(qt::ToQFont(m_font));
        break;
    case Change::BackColor: {
        QPalette palette = combo.palette();
        palette.setColor(QPalette::Base, qt::ToQColor(m_backColor));
        combo.setPalette(palette);
        break;
    }
    }
}

} // namespace kestrune::forms
