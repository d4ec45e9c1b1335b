#include "bench/batched_particles.h"

#include <cmath>

namespace kestrune {

void DrawParticlesBatched(const CParticleEmitter& emitter) {
    if (!emitter.bBuilt) {
        return;
    }
    // The emitter's facing turn: a half turn about v + |v| y, v from the
    // target to the eye; about x when that axis vanishes.
    const double vx = emitter.fEye[0] - emitter.fTarget[0];
    const double vy = emitter.fEye[1] - emitter.fTarget[1];
    const double vz = emitter.fEye[2] - emitter.fTarget[2];
    double ax = vx;
    double ay = vy + std::sqrt(vx * vx + vy * vy + vz * vz);
    double az = vz;
    const double length = std::sqrt(ax * ax + ay * ay + az * az);
    if (length > 0.0 && std::isfinite(length)) {
        ax /= length;
        ay /= length;
        az /= length;
    } else {
        ax = 1.0;
        ay = 0.0;
        az = 0.0;
    }
    // A half turn about the unit axis a maps c to 2 (a . c) a - c.
    const double s = emitter.fHalfSize;
    const double local[4][3] = {{-s, 0.0, -s}, {s, 0.0, -s}, {s, 0.0, s}, {-s, 0.0, s}};
    const GLfloat texture[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    GLfloat turned[4][3];
    for (int k = 0; k < 4; ++k) {
        const double dot = ax * local[k][0] + ay * local[k][1] + az * local[k][2];
        turned[k][0] = static_cast<GLfloat>(2.0 * dot * ax - local[k][0]);
        turned[k][1] = static_cast<GLfloat>(2.0 * dot * ay - local[k][1]);
        turned[k][2] = static_cast<GLfloat>(2.0 * dot * az - local[k][2]);
    }

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(static_cast<GLenum>(emitter.nBlendSrc), static_cast<GLenum>(emitter.nBlendDst));
    glBindTexture(GL_TEXTURE_2D, emitter.uiTexture);
    glBegin(GL_QUADS);
    for (int i = 0; i < emitter.nParticles; ++i) {
        const CParticle& particle = emitter.pcParticles[i];
        glColor4f(particle.fColour[0], particle.fColour[1], particle.fColour[2], particle.fLife);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2fv(texture[k]);
            glVertex3f(particle.fPosition[0] + turned[k][0], particle.fPosition[1] + turned[k][1],
                       particle.fPosition[2] + turned[k][2]);
        }
    }
    glEnd();
    glPopAttrib();
}

} // namespace kestrune
