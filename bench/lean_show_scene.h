#pragma once

#include "renderer/shell/frame_clock.h"
#include "renderer/shell/scene.h"
#include "renderer/show/show.h"

namespace kestrune {

// The show as it would run if its overlay were drawn only while it fades the
// picture in: from t = 0.05 on the overlay's alpha is 1 and drawing it leaves
// every pixel as it is. Everything else is the real show (its objects, its
// initialisation, its timeline) on the real shell, so that the whole-program
// benchmark can tell what the change would bring before anyone makes it.
class LeanShowScene final : public Scene {
public:
    bool Initialise(GlPlatform& platform) override;
    void Frame() override;
    void ReleaseTextures() override;

private:
    Show m_show;
    TickCount m_startTick = 0;
    bool m_firstFrame = true;
};

} // namespace kestrune
