#include "host/controls/command_states.h"

namespace kestrune {

CommandReaction CommandStates::MouseMove() {
    if (!Enabled) {
        return {};
    }
    if (State == 1) {
        State = 2;
        return {CommandLook::HighLight};
    }
    // While the left button is held after the pointer was found off the
    // button, coming back does not restore the hovered look: the release will
    // not click.
    if (State == 3 && !ButtonHeld) {
        State = 4;
        return {CommandLook::HighLightSelect};
    }
    return {};
}

CommandReaction CommandStates::MouseDown(forms::MouseButton button) {
    if (!Enabled || button != forms::MouseButton::Left) {
        return {};
    }
    ButtonHeld = true;
    return {CommandLook::Pressed};
}

CommandReaction CommandStates::MouseUp(forms::MouseButton button) {
    if (!Enabled) {
        return {};
    }
    CommandReaction reaction;
    if (button == forms::MouseButton::Left) {
        ButtonHeld = false;
        if (State == 2) {
            reaction.paint = CommandLook::Normal;
        } else if (State == 4) {
            reaction.paint = CommandLook::HighLightSelect;
        }
    }
    // Any button's release clicks, the right one's too, unless the pointer
    // was seen off the button while it was held.
    reaction.click = State != 3;
    return reaction;
}

CommandReaction CommandStates::GotFocus() {
    if (!Enabled) {
        return {};
    }
    if (State == 2) {
        State = 4;
        return {CommandLook::Pressed};
    }
    State = 3;
    return {CommandLook::Selected};
}

CommandReaction CommandStates::LostFocus() {
    if (State == 1) {
        return {};
    }
    // A disabled button loses its focus too (the window system moves it away
    // from a greyed control), though it keeps its greyed look. Were the
    // focused state kept, the first press after the button is enabled again
    // would give it the focus anew (state 4 back to 3), and the release would
    // raise no Click.
    State = 1;
    if (!Enabled) {
        return {};
    }
    return {CommandLook::Normal};
}

CommandReaction CommandStates::TimerTick(bool cursorOverButton) {
    if (!Enabled || cursorOverButton) {
        return {};
    }
    if (State == 2) {
        State = 1;
        return {CommandLook::Normal};
    }
    if (State == 4) {
        State = 3;
        return {CommandLook::Selected};
    }
    return {};
}

} // namespace kestrune
