#pragma once

#include "renderer/Classes/CParticle.h"
#include "renderer/Classes/CRandom.h"
#include "renderer/Classes/CVector.h"
#include "renderer/opengl.h"

#include <cstdint>
#include <memory>

namespace kestrune {

// A fixed set of particles, small textured squares turned to face the viewer.
// They are born in a small cloud around fPosition, drift with a decaying
// random velocity, fade out, and are reborn at the emitter's current position
// when their life runs out. The owner sets the fields, calls Build once, then
// sets position, eye and target and calls Draw every frame.
class CParticleEmitter {
public:
    // Seeds the shared random generator from the clock.
    CParticleEmitter();
    ~CParticleEmitter();
    CParticleEmitter(const CParticleEmitter&) = delete;
    CParticleEmitter& operator=(const CParticleEmitter&) = delete;

    // Creates the particles and the square's display list; does nothing when
    // already built. Needs a current OpenGL context.
    void Build();

    // Moves, ages, respawns and draws every particle. `time` is the show's
    // elapsed time in milliseconds; with colour cycling the rebirth colour
    // steps once a second.
    void Draw(std::uint32_t time);

    // Moves, ages and respawns every particle exactly as Draw does, drawing
    // nothing: for a frame whose picture cannot show the particles.
    void Advance(std::uint32_t time);

    // Deletes the square's list while the context is still current and
    // drops the particles: the emitter is unbuilt again.
    void Release();

    std::unique_ptr<CParticle[]> pcParticles;
    float fPosition[3] = {0.0f, 0.0f, 0.0f};
    float fEye[3] = {0.0f, 0.0f, 0.0f};
    float fTarget[3] = {0.0f, 0.0f, 0.0f};
    // Size of the birth cloud.
    float fSpread = 0.0f;
    // Largest initial speed.
    float fSpeed = 0.0f;
    float fDrag = 1.0f;
    CVector cAcceleration;
    // Factor applied to each particle's acceleration per frame.
    float fGrowth = 1.001f;
    // Half the edge of the particle square.
    float fHalfSize = 0.1f;
    // Life lost per frame, the base of every particle's fade.
    float fFade = 0.01f;
    bool bRandomFade = true;
    int nParticles = 0;
    int nCurrent = 0;
    GLuint uiTexture = 0;
    bool bBlend = true;
    GLint nBlendSrc = GL_ONE;
    GLint nBlendDst = GL_SRC_ALPHA;
    bool bColourCycling = true;
    float fColourTable[12][3] = {
        {1.0f, 0.5f, 0.5f}, {1.0f, 0.75f, 0.5f}, {1.0f, 1.0f, 0.5f}, {0.75f, 1.0f, 0.5f},
        {0.5f, 1.0f, 0.5f}, {0.5f, 1.0f, 0.75f}, {0.5f, 1.0f, 1.0f}, {0.5f, 0.75f, 1.0f},
        {0.5f, 0.5f, 1.0f}, {0.75f, 0.5f, 1.0f}, {1.0f, 0.5f, 1.0f}, {1.0f, 0.5f, 0.75f},
    };
    float fFixedColour[3] = {1.0f, 1.0f, 1.0f};
    CRandom cRandom;
    bool bBuilt = false;
    // The square, compiled once by Build: its texture and its four corners.
    // Draw gives each particle the same square itself, with the particle's
    // colour between its vertices (see Draw).
    GLuint uiList = 0;

private:
    void SpawnVelocity(CParticle& particle);
    void SpawnFade(CParticle& particle);
    void SpawnPosition(CParticle& particle);
    void SetColour(CParticle& particle, const float (&colour)[3]);
    // One frame of a particle: ages, moves, and respawns it when its life has
    // run out; `colour` gets the colour and alpha of this frame's square.
    void Step(CParticle& particle, std::uint32_t time, GLfloat (&colour)[4]);
};

} // namespace kestrune
