#pragma once

#include "renderer/opengl.h"

namespace kestrune {

// The shape numbers shared by the body and the figure generator, each held in
// single precision. kTetraBeta is sin(pi/2 - asin(1/3)) = 2 sqrt(2) / 3, the
// horizontal reach of a lower vertex; kTetraGamma is cos(pi/6) and also the
// height sqrt(0.75) of the texture's triangle; kTetraThird is the float
// nearest 1/3.
inline constexpr float kTetraBeta = 0.942809041582063f;
inline constexpr float kTetraGamma = 0.866025403784439f;
inline constexpr float kTetraThird = 0.33333334f;

// One solid regular tetrahedron of a Sierpinski figure, compiled into a
// display list of its own. Fields are set by the figure before Build.
class CTetrahedron {
public:
    CTetrahedron() = default;
    ~CTetrahedron();
    CTetrahedron(const CTetrahedron&) = delete;
    CTetrahedron& operator=(const CTetrahedron&) = delete;

    // Compiles the body from the current fields, replacing an earlier list.
    // Needs a current OpenGL context.
    void Build();

    // Draws the body; false, without drawing, when it is not built.
    bool Draw();

    // Deletes the list while the context is still current and leaves the
    // body unbuilt; a body holding no list makes no OpenGL call.
    void Release();

    // The parts of a draw, for a figure that draws many bodies under one
    // state (see CSierpinski::Draw). Draw is: push the attributes and the
    // matrix, Place, SetDrawState, then the list, which holds
    // SetTextureState, EmitTriangles and the end of the sphere map.
    void Place() const;
    void SetDrawState() const;
    void SetTextureState() const;
    void EmitTriangles() const;

    // Whether this body and `other` are both built and set up the very same
    // state when drawn (flags, colour, blending, textures): they differ at
    // most in size and place.
    bool DrawsLike(const CTetrahedron& other) const;

    bool bNormals = false;
    bool bBlend = false;
    bool bMultitexture = false;
    bool bSphereMap = false;
    bool bBuilt = false;
    // Circumradius: distance from the centre to each vertex.
    float fSize = 1.0f;
    float fPosition[3] = {0.0f, 0.0f, 0.0f};
    // Degrees; 0 means no rotation.
    float fRotationAngle = 0.0f;
    float fRotationAxis[3] = {0.0f, 0.0f, 0.0f};
    // The alpha is the opacity.
    float fColour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    GLint nBlendSrc = GL_ONE;
    GLint nBlendDst = GL_ONE;
    // Texture of unit 0 and of unit 1 (or the only texture).
    GLuint uiTexture[2] = {0, 0};
    // Texture environment modes of unit 0 and unit 1, as floats for glTexEnvf.
    GLfloat fEnvMode[2] = {static_cast<GLfloat>(GL_REPLACE), static_cast<GLfloat>(GL_ADD)};
    GLuint uiList = 0;

private:
    bool UsesTwoUnits() const;
};

} // namespace kestrune
