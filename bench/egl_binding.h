#pragma once

namespace kestrune {

// The EGL context and surfaces current on this thread, captured so that a
// benchmark can hold two offscreen contexts (the show's and the floor's) and
// switch between them between rounds: each offscreen context makes itself
// current only when it is constructed.
class EglBinding {
public:
    // Whatever is current now.
    static EglBinding Current();

    // Makes the captured context and surfaces current again.
    bool MakeCurrent() const;

private:
    void* m_display = nullptr;
    void* m_draw = nullptr;
    void* m_read = nullptr;
    void* m_context = nullptr;
};

} // namespace kestrune
