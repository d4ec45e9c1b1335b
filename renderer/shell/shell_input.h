#pragma once

#include <array>
#include <cstdint>

namespace kestrune {

// Virtual-key code of Escape, the one key that ends the renderer.
inline constexpr unsigned kVkEscape = 0x1B;

// The loop's view of the window: which keys are down and whether the window
// is active (not minimised). Platform events feed it; the loop asks it what
// to do whenever no event is pending.
class ShellInput {
public:
    enum class IdleAction {
        DrawFrame, // active, Escape not down: draw and swap
        EndLoop,   // active and Escape down: leave the loop
        Skip,      // minimised: draw nothing, keep polling
    };

    // Key codes are virtual-key codes (0 to 255); others are ignored.
    void KeyDown(unsigned virtualKey);
    void KeyUp(unsigned virtualKey);
    bool IsKeyDown(unsigned virtualKey) const;

    // The window was activated, deactivated, minimised or restored. Only the
    // minimised state counts: a window that merely lost the focus stays
    // active and keeps drawing.
    void SetMinimised(bool minimised) { m_active = !minimised; }
    bool IsActive() const { return m_active; }

    // Called whenever no event is pending; says what the loop does next.
    IdleAction OnIdle();

private:
    bool m_active = true;
    std::array<bool, 256> m_keys{};
    // Keys pressed since the last idle pass. A quick tap whose key-down and
    // key-up both arrive between two frames (a slow frame, a fast typist)
    // would otherwise leave no trace in the key table by the time the loop
    // looks, and Escape would be lost. A tap while minimised is still
    // ignored: the mark is cleared at every idle pass, active or not.
    std::array<bool, 256> m_pressedSinceIdle{};
};

} // namespace kestrune
