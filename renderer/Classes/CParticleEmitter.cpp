#include "renderer/Classes/CParticleEmitter.h"

#include "renderer/Classes/array_allocation.h"

#include <cmath>
#include <numbers>

namespace kestrune {

namespace {

constexpr double kPi = std::numbers::pi;
// Particles of one colour-table entry at build time, and milliseconds of show
// time per entry at rebirth.
constexpr int kParticlesPerColour = 100;
constexpr std::uint32_t kMillisecondsPerColour = 1000;
constexpr int kColourTableSize = 12;

// The particle's square in the x-z plane, facing +y: each corner's texture
// coordinate and the signs of its x and z, which the half size scales.
struct SquareCorner {
    GLfloat s, t, x, z;
};
constexpr SquareCorner kSquare[4] = {
    {0.0f, 0.0f, -1.0f, -1.0f},
    {1.0f, 0.0f, 1.0f, -1.0f},
    {1.0f, 1.0f, 1.0f, 1.0f},
    {0.0f, 1.0f, -1.0f, 1.0f},
};
// The square as two triangles, split along the diagonal from corner 1 to
// corner 3: the split the driver gives the compiled quad.
constexpr int kSquareTriangles[6] = {0, 1, 3, 1, 2, 3};

} // namespace

CParticleEmitter::CParticleEmitter() {
    cRandom.Seed();
}

CParticleEmitter::~CParticleEmitter() {
    // An emitter already released holds no list and makes no OpenGL call.
    Release();
}

void CParticleEmitter::Release() {
    pcParticles.reset();
    if (uiList != 0 && glIsList(uiList)) {
        glDeleteLists(uiList, 1);
    }
    uiList = 0;
    bBuilt = false;
}

void CParticleEmitter::SpawnVelocity(CParticle& particle) {
    const double a = cRandom.Random();
    const double b = cRandom.Random();
    const double c = cRandom.Random();
    // The first draw gives z. No draw is exactly 0.5 (5000 x 0.0001f falls
    // just short of it), so the direction is never the zero vector and can
    // be normalised without a guard.
    CVector direction(static_cast<float>(c - 0.5), static_cast<float>(b - 0.5),
                      static_cast<float>(a - 0.5));
    direction.Normalize();
    const auto scale = static_cast<float>(cRandom.Random());
    particle.cVelocity = direction * scale * fSpeed;
}

void CParticleEmitter::SpawnFade(CParticle& particle) {
    particle.fFade = bRandomFade ? static_cast<float>(cRandom.Random() * fFade) : fFade;
    if (particle.fFade == 0.0f) {
        // A particle that never fades would never be reborn.
        particle.fFade = fFade;
    }
}

void CParticleEmitter::SpawnPosition(CParticle& particle) {
    // Each coordinate takes its draws in this order; they are read into
    // locals first because C++ leaves the order of calls in one expression
    // open.
    const double r1 = cRandom.Random();
    const double r2 = cRandom.Random();
    const double r3 = cRandom.Random();
    particle.fPosition[0] = static_cast<float>(
        r3 * std::cos(r1 * kPi - kPi / 2.0) * std::cos(r2 * 2.0 * kPi) * fSpread + fPosition[0]);
    const double r4 = cRandom.Random();
    const double r5 = cRandom.Random();
    particle.fPosition[1] =
        static_cast<float>(r5 * std::sin(r4 * kPi - kPi / 2.0) * fSpread + fPosition[1]);
    const double r6 = cRandom.Random();
    const double r7 = cRandom.Random();
    const double r8 = cRandom.Random();
    particle.fPosition[2] = static_cast<float>(
        r8 * std::cos(r6 * kPi - kPi / 2.0) * std::sin(r7 * 2.0 * kPi) * fSpread + fPosition[2]);
}

void CParticleEmitter::SetColour(CParticle& particle, const float (&colour)[3]) {
    for (int i = 0; i < 3; ++i) {
        particle.fColour[i] = colour[i];
    }
}

void CParticleEmitter::Build() {
    if (bBuilt) {
        return;
    }
    pcParticles = AllocateArray<CParticle>(nParticles);
    if (pcParticles == nullptr) {
        // No particles, no emitter: it stays unbuilt and draws nothing.
        return;
    }
    uiList = glGenLists(1);
    if (uiList == 0) {
        // Without a list name the square would be drawn at once instead of
        // compiled; stay unbuilt as for missing particles.
        pcParticles.reset();
        return;
    }

    const float s = fHalfSize;
    glNewList(uiList, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    glBegin(GL_QUADS);
    for (const SquareCorner& corner : kSquare) {
        glTexCoord2f(corner.s, corner.t);
        glVertex3f(corner.x * s, 0.0f, corner.z * s);
    }
    glEnd();
    glEndList();

    for (nCurrent = 0; nCurrent < nParticles; ++nCurrent) {
        CParticle& particle = pcParticles[nCurrent];
        SpawnVelocity(particle);
        particle.fDrag = fDrag;
        particle.cAcceleration = cAcceleration;
        // Particles start at different ages, so that they do not all die in
        // the same frame.
        particle.fLife = static_cast<float>(cRandom.Random());
        SpawnFade(particle);
        SpawnPosition(particle);
        if (bColourCycling) {
            SetColour(particle, fColourTable[(nCurrent / kParticlesPerColour) % kColourTableSize]);
        } else {
            SetColour(particle, fFixedColour);
        }
    }
    bBuilt = true;
}

void CParticleEmitter::Step(CParticle& particle, std::uint32_t time, GLfloat (&colour)[4]) {
    particle.fLife -= particle.fFade;
    particle.cVelocity = particle.cVelocity * particle.fDrag;
    particle.fPosition[0] = particle.cAcceleration.x + particle.cVelocity.x + particle.fPosition[0];
    particle.fPosition[1] = particle.cAcceleration.y + particle.cVelocity.y + particle.fPosition[1];
    particle.fPosition[2] = particle.cAcceleration.z + particle.cVelocity.z + particle.fPosition[2];
    particle.cAcceleration = particle.cAcceleration * fGrowth;
    // With blending the life is the alpha; this frame's square keeps the
    // colour and life from before a rebirth: its old place and its spent
    // alpha.
    colour[0] = particle.fColour[0];
    colour[1] = particle.fColour[1];
    colour[2] = particle.fColour[2];
    colour[3] = particle.fLife;

    if (!(particle.fLife > 0.0f)) {
        // Rebirth at the emitter's current position.
        SpawnVelocity(particle);
        particle.cAcceleration = cAcceleration;
        particle.fLife = 1.0f;
        SpawnFade(particle);
        particle.fDrag = fDrag;
        SpawnPosition(particle);
        if (bColourCycling) {
            SetColour(particle, fColourTable[(time / kMillisecondsPerColour) % kColourTableSize]);
        } else {
            SetColour(particle, fFixedColour);
        }
    }
}

void CParticleEmitter::Advance(std::uint32_t time) {
    if (!bBuilt) {
        return;
    }
    GLfloat unused[4];
    for (nCurrent = 0; nCurrent < nParticles; ++nCurrent) {
        Step(pcParticles[nCurrent], time, unused);
    }
}

void CParticleEmitter::Draw(std::uint32_t time) {
    if (!bBuilt) {
        return;
    }
    glPushMatrix();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    if (bBlend) {
        glEnable(GL_BLEND);
        glBlendFunc(static_cast<GLenum>(nBlendSrc), static_cast<GLenum>(nBlendDst));
    } else {
        glDisable(GL_BLEND);
    }

    // The half turn about v + |v| y carries +y onto v, the direction from the
    // target to the eye, so every square faces the viewer. The turn is the
    // same for every particle of the frame.
    const CVector view(fEye[0] - fTarget[0], fEye[1] - fTarget[1], fEye[2] - fTarget[2]);
    double axis[3] = {view.x, view.y + view.Length(), view.z};
    const double axisLength = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    if (axisLength > 0.0 && std::isfinite(axisLength)) {
        for (double& component : axis) {
            component /= axisLength;
        }
    } else {
        // The viewer looks straight up at the squares (eye below the target)
        // or sits on the target, and the axis is zero. A half turn about x
        // then turns the squares to face -y, towards a viewer below: the
        // limit of the turn as the eye leaves that line towards +x.
        axis[0] = 1.0;
        axis[1] = axis[2] = 0.0;
    }

    // The square's corners turned once for the frame: a half turn about the
    // unit axis a carries a corner c to 2 (a . c) a - c. Each particle's
    // square is then its place plus the turned corners, and all of the
    // emitter's squares go to the driver between one glBegin and glEnd,
    // instead of a push, translate, rotate and pop of the matrix for each:
    // most of what an emitter cost. The driver would have turned the corners
    // with the same rotation; turning them here rounds an edge pixel of a
    // spark here and there one level differently, which no one can see.
    const float s = fHalfSize;
    GLfloat turned[4][3];
    for (int k = 0; k < 4; ++k) {
        const double corner[3] = {kSquare[k].x * s, 0.0, kSquare[k].z * s};
        const double dot = axis[0] * corner[0] + axis[1] * corner[1] + axis[2] * corner[2];
        for (int c = 0; c < 3; ++c) {
            turned[k][c] = static_cast<GLfloat>(2.0 * dot * axis[c] - corner[c]);
        }
    }

    glBindTexture(GL_TEXTURE_2D, uiTexture);
    // Each square as the two triangles that the compiled quad is split into,
    // so that its diagonal falls where it did.
    glBegin(GL_TRIANGLES);
    for (nCurrent = 0; nCurrent < nParticles; ++nCurrent) {
        CParticle& particle = pcParticles[nCurrent];
        // The square is drawn where the particle was before this frame's
        // movement, with the colour and life it had before a rebirth.
        const GLfloat place[3] = {particle.fPosition[0], particle.fPosition[1],
                                  particle.fPosition[2]};
        GLfloat colour[4];
        Step(particle, time, colour);

        if (bBlend) {
            glColor4fv(colour);
        } else {
            glColor3fv(colour);
        }
        for (const int index : kSquareTriangles) {
            glTexCoord2f(kSquare[index].s, kSquare[index].t);
            glVertex3f(place[0] + turned[index][0], place[1] + turned[index][1],
                       place[2] + turned[index][2]);
        }
    }
    glEnd();

    glDepthMask(GL_TRUE);
    glPopAttrib();
    glPopMatrix();
}

} // namespace kestrune
