#include "renderer/shell/shell_input.h"

namespace kestrune {

void ShellInput::KeyDown(unsigned virtualKey) {
    if (virtualKey < m_keys.size()) {
        m_keys[virtualKey] = true;
        m_pressedSinceIdle[virtualKey] = true;
    }
}

void ShellInput::KeyUp(unsigned virtualKey) {
    if (virtualKey < m_keys.size()) {
        m_keys[virtualKey] = false;
    }
}

bool ShellInput::IsKeyDown(unsigned virtualKey) const {
    return virtualKey < m_keys.size() && m_keys[virtualKey];
}

ShellInput::IdleAction ShellInput::OnIdle() {
    const bool escapeTapped = m_pressedSinceIdle[kVkEscape];
    m_pressedSinceIdle.fill(false);
    // While minimised nothing is drawn and Escape is not even looked at: a key
    // pressed then ends the renderer once it is restored, if still marked.
    if (!m_active) {
        return IdleAction::Skip;
    }
    return IsKeyDown(kVkEscape) || escapeTapped ? IdleAction::EndLoop : IdleAction::DrawFrame;
}

} // namespace kestrune
