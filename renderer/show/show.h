#pragma once

#include "renderer/shell/frame_clock.h"
#include "renderer/shell/scene.h"

namespace kestrune {

// The one scene the renderer plays.
class Show final : public Scene {
public:
    // Where the show reads the time; the program uses the system tick count,
    // tests and tools inject their own to render any moment of the show.
    using TickSource = TickCount (*)();

    explicit Show(TickSource ticks = &GetTickCount32) : m_ticks(ticks) {}

    bool Initialise(GlPlatform& platform) override;
    void Frame() override;
    void ReleaseTextures() override;

private:
    TickSource m_ticks;
};

} // namespace kestrune
