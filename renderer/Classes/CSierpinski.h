#pragma once

#include "renderer/Classes/CTetrahedron.h"
#include "renderer/opengl.h"

#include <memory>

namespace kestrune {

// A Sierpinski tetrahedron of subdivision level nLevel: 4^level solid bodies
// filling the corners of one regular tetrahedron of size fSize around
// fCentre. The owner sets the fields, calls Generate once, and then Draw
// every frame, changing only the colour between frames.
class CSierpinski {
public:
    CSierpinski() = default;
    CSierpinski(const CSierpinski&) = delete;
    CSierpinski& operator=(const CSierpinski&) = delete;

    // Places and builds every body, replacing the bodies of an earlier
    // generation. Needs a current OpenGL context.
    void Generate();

    // Copies the colour into every body and draws them in array order.
    // Returns the body count (0 when never generated).
    int Draw();

    // Deletes every body's list while the context is still current and
    // drops the bodies, as before the first generation.
    void Release();

    float fCentre[3] = {0.0f, 0.0f, 0.0f};
    // Circumradius of the whole figure.
    float fSize = 1.0f;
    int nLevel = 0;
    float fColour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    bool bNormals = false;
    bool bBlend = false;
    bool bMultitexture = false;
    bool bSphereMap = false;
    GLuint uiTexture[2] = {0, 0};
    GLfloat fEnvMode[2] = {static_cast<GLfloat>(GL_REPLACE), static_cast<GLfloat>(GL_ADD)};
    GLint nBlendSrc = GL_ONE;
    GLint nBlendDst = GL_ONE;
    int nBodies = 0;
    int nPlaced = 0;
    std::unique_ptr<CTetrahedron[]> pcBodies;

private:
    void Subdivide(float x, float y, float z, float radius, int level);
};

} // namespace kestrune
