#pragma once

#include "renderer/Classes/CParticleEmitter.h"

namespace kestrune {

// The squares of an emitter's particles, where they stand now, drawn as one
// primitive: each square turned on the CPU by the same half turn that the
// emitter makes with glRotatef per particle, with the particle's colour and
// life as alpha. It neither moves nor ages the particles. A benchmark only:
// it tells how much of the emitters' cost is the driver's per-draw work (a
// matrix, a colour and a list call per particle) rather than the pixels.
void DrawParticlesBatched(const CParticleEmitter& emitter);

} // namespace kestrune
