#include "bench/floor_scene.h"

#include "renderer/resources/texture.h"

#include <utility>

namespace kestrune {

namespace {

// The quad's corners with their texture coordinates. With both matrices at
// the identity, (-1, -1) to (1, 1) is exactly the viewport.
struct Corner {
    GLfloat s, t, x, y;
};
constexpr Corner kCorners[4] = {
    {0.0f, 0.0f, -1.0f, -1.0f},
    {1.0f, 0.0f, 1.0f, -1.0f},
    {1.0f, 1.0f, 1.0f, 1.0f},
    {0.0f, 1.0f, -1.0f, 1.0f},
};

} // namespace

FloorScene::FloorScene(std::string texturePath) : m_texturePath(std::move(texturePath)) {}

bool FloorScene::Initialise(GlPlatform& platform) {
    // The same swap interval as the show asks for: a driver that waits for
    // the retrace would otherwise cap one of the two and not the other.
    platform.SetSwapInterval(0);
    CreateTexture(m_texturePath.c_str(), m_texture, GL_CLAMP, GL_CLAMP);
    return true;
}

void FloorScene::Frame() {
    // The shell has cleared and reset the modelview matrix. The projection
    // is the shell's perspective, so it is set aside for the quad; the shell
    // may set it again at any resize, hence every frame.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glBegin(GL_QUADS);
    for (const Corner& corner : kCorners) {
        glTexCoord2f(corner.s, corner.t);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void FloorScene::ReleaseGlObjects() {
    if (m_texture != 0 && glIsTexture(m_texture)) {
        glDeleteTextures(1, &m_texture);
        m_texture = 0;
    }
}

} // namespace kestrune
