#include "renderer/Classes/CSkyBox.h"

#include "renderer/resources/texture.h"

namespace kestrune {

namespace {

// Each face reaches this fraction of the edge beyond the cube on every side,
// so that neighbouring faces overlap and no seam shows between them.
constexpr float kOverlap = 0.0025f;

} // namespace

CSkyBox::~CSkyBox() {
    // The renderer releases the box before its context goes; what is left
    // here is the list of a box that was never released (a test's), whose
    // face textures are left to their context.
    if (bBuilt && uiList != 0 && glIsList(uiList)) {
        glDeleteLists(uiList, 1);
    }
}

void CSkyBox::Release() {
    if (uiList != 0 && glIsList(uiList)) {
        glDeleteLists(uiList, 1);
    }
    uiList = 0;
    bBuilt = false;
    for (GLuint& texture : uiFaceTexture) {
        ReleaseTexture(texture);
    }
}

void CSkyBox::SetPosition(float x, float y, float z) {
    fPosition[0] = x;
    fPosition[1] = y;
    fPosition[2] = z;
}

void CSkyBox::CopyPosition(const float* position) {
    SetPosition(position[0], position[1], position[2]);
}

void CSkyBox::SetSize(float size) {
    fSize = size;
}

int CSkyBox::LoadFaceTexture(unsigned slot, const char* path) {
    if (slot >= kFaceCount) {
        return 0;
    }
    return CreateTexture(path, uiFaceTexture[slot], GL_CLAMP, GL_CLAMP) ? 1 : 0;
}

void CSkyBox::Build() {
    if (bBuilt && glIsList(uiList)) {
        glDeleteLists(uiList, 1);
    }
    bBuilt = false;
    const float d = fSize * kOverlap;
    const float h = fSize * 0.5f;
    const float e = h + d;

    uiList = glGenLists(1);
    if (uiList == 0) {
        // Without a list name the faces would be drawn at once instead of
        // compiled; the box stays unbuilt and draws nothing.
        return;
    }

    struct Corner {
        GLfloat s, t, x, y, z;
    };
    struct Face {
        unsigned slot;
        Corner corners[4];
    };
    const Face faces[kFaceCount] = {
        {2, {{0, 0, -e, -e, h}, {1, 0, e, -e, h}, {1, 1, e, e, h}, {0, 1, -e, e, h}}},
        {3, {{1, 0, -e, -e, -h}, {1, 1, -e, e, -h}, {0, 1, e, e, -h}, {0, 0, e, -e, -h}}},
        {0, {{1, 0, -e, h, -e}, {1, 1, -e, h, e}, {0, 1, e, h, e}, {0, 0, e, h, -e}}},
        {1, {{1, 1, -e, -h, -e}, {0, 1, e, -h, -e}, {0, 0, e, -h, e}, {1, 0, -e, -h, e}}},
        {5, {{1, 0, h, -e, -e}, {1, 1, h, e, -e}, {0, 1, h, e, e}, {0, 0, h, -e, e}}},
        {4, {{0, 0, -h, -e, -e}, {1, 0, -h, -e, e}, {1, 1, -h, e, e}, {0, 1, -h, e, -e}}},
    };

    glNewList(uiList, GL_COMPILE);
    for (const Face& face : faces) {
        glBindTexture(GL_TEXTURE_2D, uiFaceTexture[face.slot]);
        glBegin(GL_QUADS);
        for (const Corner& corner : face.corners) {
            glTexCoord2f(corner.s, corner.t);
            glVertex3f(corner.x, corner.y, corner.z);
        }
        glEnd();
    }
    glEndList();
    bBuilt = true;
}

void CSkyBox::Draw() {
    if (!bBuilt) {
        return;
    }
    glPushMatrix();
    glDepthMask(GL_FALSE);
    glTranslatef(fPosition[0], fPosition[1], fPosition[2]);
    glCallList(uiList);
    glDepthMask(GL_TRUE);
    glPopMatrix();
}

} // namespace kestrune
