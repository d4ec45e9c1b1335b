#pragma once

#include "host/controls/command_pictures.h"
#include "host/controls/command_states.h"
#include "host/forms/forms_types.h"
#include "host/forms/label.h"
#include "host/forms/property_bag.h"
#include "host/forms/timer.h"
#include "host/forms/user_control.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrune {

// The host's skinned push button ("Kestrune.Command"): a soft vertical
// gradient inside a frame cut from one of six state pictures, with a centred
// caption. It follows the mouse (hover, press, leave) and the keyboard focus
// itself and raises onClick when a mouse button is released on it. Keys
// never press or click it.
class Command : public forms::UserControl {
public:
    // The button's leave timer runs on the form it sits on.
    explicit Command(forms::Container& parent);
    ~Command() override;

    // The container calls it once the button is loaded: the states start and
    // the leave timer runs from now on.
    void Initialize();

    // The background style: non-zero opaque, 0 transparent. Reading an
    // opaque button gives 255 and refreshes its look. (This is the button's
    // own property; it hides the control's show and hide, which the dialog
    // never uses on a button.)
    void SetVisible(std::uint8_t visible);
    std::uint8_t Visible();

    // The caption's text colour as &HBBGGRR. Setting and reading both refresh
    // the look.
    void SetFontColour(std::uint32_t colour);
    std::uint32_t FontColour();

    // Setting applies the enabled or disabled look at once. The first read of
    // a fresh button (FirstRun 0) makes it an enabled one.
    void SetEnabled(bool enabled);
    bool Enabled();

    // Setting the caption does not repaint the skin.
    void SetCaption(const std::string& caption);
    std::string Caption() const;

    void SetFont(const forms::Font& font);
    forms::Font GetFont() const;

    // Raised on the release of a mouse button (see CommandStates::MouseUp).
    std::function<void()> onClick;

    // The property-changed notice: the named property must be saved with the
    // form.
    std::function<void(std::string_view property)> onPropertyChanged;

    // The stored properties, written when the form is saved and read when it
    // is loaded. Both end with the look refresh.
    void WriteProperties(forms::PropertyBag& bag);
    void ReadProperties(const forms::PropertyBag& bag);

    // The state of the mouse and focus table, for a container that wants to
    // know (and for the tests).
    std::uint8_t State() const { return m_states.State; }
    bool ButtonHeld() const { return m_states.ButtonHeld; }
    bool TintTop() const { return m_tintTop; }
    std::uint8_t FirstRun() const { return m_firstRun; }

protected:
    void UserControl_MouseDown(forms::MouseButton button, forms::ShiftState shift, int x,
                               int y) override;
    void UserControl_MouseMove(forms::MouseButton buttons, forms::ShiftState shift, int x,
                               int y) override;
    void UserControl_MouseUp(forms::MouseButton button, forms::ShiftState shift, int x,
                             int y) override;
    void UserControl_GotFocus() override;
    void UserControl_LostFocus() override;
    void UserControl_Resize() override;

private:
    void React(const CommandReaction& reaction);
    void PaintSkin(CommandLook look);
    void MeasureCaption();
    void PlaceCaption();
    void MouseLeave();
    void ApplyEnabled();
    void RefreshLook();
    void StoreEnabled(bool enabled);
    void PropertyChanged(std::string_view property);

    forms::Label LblMsg;
    forms::Timer TmrMouse;
    CommandStates m_states;
    bool m_tintTop = false;
    std::uint8_t m_firstRun = 0;
    int m_captionHeight = 0; // pixels, one line of the caption's font
};

} // namespace kestrune
