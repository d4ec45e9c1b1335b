#pragma once

#include "host/controls/command_pictures.h"
#include "host/forms/forms_types.h"

#include <cstdint>
#include <optional>

namespace kestrune {

// What the command button does in answer to one event: the look to paint,
// if any, and whether it raises Click.
struct CommandReaction {
    std::optional<CommandLook> paint;
    bool click = false;
    friend bool operator==(const CommandReaction&, const CommandReaction&) = default;
};

// The button's mouse and focus states and their table of transitions,
// without any window: the user control feeds it its events and carries out
// the reactions. Mouse, focus and timer events do nothing while the button
// is disabled, except that a focus loss is still remembered.
struct CommandStates {
    // 0 before Initialize; 1 normal; 2 mouse over, no focus; 3 focus, mouse
    // away; 4 focus and mouse over.
    std::uint8_t State = 0;
    // The left button went down on the button and has not come up yet.
    bool ButtonHeld = false;
    bool Enabled = false;

    // The container is done loading the button: hovering counts from now.
    void Initialize() { State = 1; }

    // The mouse moved over the button or its caption (or, while a button is
    // held, anywhere: the button then still receives the moves).
    CommandReaction MouseMove();
    CommandReaction MouseDown(forms::MouseButton button);
    // The release of any mouse button; Click follows unless the button was
    // found off the button while held (state 3).
    CommandReaction MouseUp(forms::MouseButton button);
    CommandReaction GotFocus();
    CommandReaction LostFocus();
    // The leave timer's tick: `cursorOverButton` tells whether the window
    // under the cursor is the button's own.
    CommandReaction TimerTick(bool cursorOverButton);
};

} // namespace kestrune
