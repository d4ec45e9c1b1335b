#include "renderer/show/CScreenOverlay.h"

namespace kestrune {

namespace {

// The quad's corners with their texture coordinates: the texture's first row
// (t = 0) along the bottom of the screen.
struct Corner {
    GLfloat s, t, x, y;
};
constexpr Corner kCorners[4] = {
    {0.0f, 1.0f, -1.0f, 1.0f},  // top left
    {1.0f, 1.0f, 1.0f, 1.0f},   // top right
    {1.0f, 0.0f, 1.0f, -1.0f},  // bottom right
    {0.0f, 0.0f, -1.0f, -1.0f}, // bottom left
};

} // namespace

CScreenOverlay::~CScreenOverlay() {
    // The renderer releases the list before its context goes; an overlay
    // that was never released (a test's) deletes it here.
    Release();
}

void CScreenOverlay::Release() {
    if (uiDisplayList != 0 && glIsList(uiDisplayList)) {
        glDeleteLists(uiDisplayList, 1);
    }
    uiDisplayList = 0;
    bBuilt = false;
}

void CScreenOverlay::Build() {
    Release();
    uiDisplayList = glGenLists(1);
    if (uiDisplayList == 0) {
        // Without a list name the quad would be drawn at once instead of
        // compiled; the overlay stays unbuilt and draws nothing.
        return;
    }
    glNewList(uiDisplayList, GL_COMPILE);
    // The binding goes before the primitive: it is not allowed inside one.
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    glBegin(GL_QUADS);
    for (const Corner& corner : kCorners) {
        glTexCoord2f(corner.s, corner.t);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
    glEndList();
    bBuilt = true;
}

void CScreenOverlay::Draw() {
    if (!bBuilt) {
        return;
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (bBlend) {
        glColor4fv(fColor);
        glEnable(GL_BLEND);
        glBlendFunc(eBlendSrc, eBlendDst);
        glDepthMask(GL_FALSE);
    } else {
        glColor3fv(fColor);
    }
    glDepthMask(bDepthWrite ? GL_TRUE : GL_FALSE);
    // With both matrices at the identity the corners (-1, -1) to (1, 1) are
    // exactly the viewport's, at depth 0.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glCallList(uiDisplayList);
    glDepthMask(GL_TRUE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

} // namespace kestrune
