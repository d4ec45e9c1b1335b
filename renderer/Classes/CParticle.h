#pragma once

#include "renderer/Classes/CVector.h"

namespace kestrune {

// One spark of a particle emitter. The emitter sets every field when it
// spawns the particle; until then they are zero.
class CParticle {
public:
    CParticle() = default;

    // Remaining life, 1 at rebirth; drawn as the alpha.
    float fLife = 0.0f;
    // Life lost per frame.
    float fFade = 0.0f;
    float fColour[3] = {0.0f, 0.0f, 0.0f};
    float fPosition[3] = {0.0f, 0.0f, 0.0f};
    // Factor applied to the velocity each frame.
    float fDrag = 0.0f;
    CVector cVelocity;
    // Added to the position each frame, then grown by the emitter's factor.
    CVector cAcceleration;
};

} // namespace kestrune
