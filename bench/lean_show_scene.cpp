#include "bench/lean_show_scene.h"

#include "bench/show_replica.h"
#include "renderer/show/show_timeline.h"

namespace kestrune {

bool LeanShowScene::Initialise(GlPlatform& platform) {
    return m_show.Initialise(platform);
}

void LeanShowScene::Frame() {
    // The show's clock, as the show keeps it: it starts at the first frame.
    const TickCount now = GetTickCount32();
    if (m_firstFrame) {
        m_startTick = now;
        m_firstFrame = false;
    }
    const auto t = static_cast<float>(static_cast<double>(ElapsedMilliseconds(m_startTick, now)) /
                                      static_cast<double>(kShowPeriodMs));
    DrawShowReplica(m_show, t, FadeInAlphaAt(t) < 1.0f);
}

void LeanShowScene::ReleaseTextures() {
    m_show.ReleaseTextures();
}

} // namespace kestrune
