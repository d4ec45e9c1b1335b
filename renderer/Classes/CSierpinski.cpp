#include "renderer/Classes/CSierpinski.h"

#include "renderer/Classes/array_allocation.h"

#include <cmath>

namespace kestrune {

namespace {

// 4^15 bodies is the most whose count fits a 32-bit signed integer; a level
// above it cannot be counted, let alone allocated, and generates nothing.
constexpr int kMaxLevel = 15;

} // namespace

void CSierpinski::Generate() {
    // A negative level would never reach the end of the subdivision; it is
    // taken as 0, a single body, as the closest meaningful figure.
    const int level = nLevel < 0 ? 0 : nLevel;
    nBodies = level > kMaxLevel ? -1 : static_cast<int>(std::pow(4.0, level));
    nPlaced = 0;
    pcBodies.reset();
    pcBodies = AllocateArray<CTetrahedron>(nBodies);
    if (pcBodies == nullptr) {
        // Without bodies the figure generates and draws nothing.
        nBodies = 0;
        return;
    }
    Subdivide(fCentre[0], fCentre[1], fCentre[2], fSize * 0.5f, level);
}

void CSierpinski::Subdivide(float x, float y, float z, float radius, int level) {
    if (level == 0) {
        if (nPlaced == nBodies) {
            return;
        }
        CTetrahedron& body = pcBodies[nPlaced];
        body.fPosition[0] = x;
        body.fPosition[1] = y;
        body.fPosition[2] = z;
        body.fSize = radius * 2.0f;
        body.bNormals = bNormals;
        body.bBlend = bBlend;
        body.bMultitexture = bMultitexture;
        body.bSphereMap = bSphereMap;
        body.nBlendSrc = nBlendSrc;
        body.nBlendDst = nBlendDst;
        body.fEnvMode[0] = fEnvMode[0];
        body.fEnvMode[1] = fEnvMode[1];
        for (int i = 0; i < 4; ++i) {
            body.fColour[i] = fColour[i];
        }
        body.uiTexture[0] = uiTexture[0];
        body.uiTexture[1] = uiTexture[1];
        body.Build();
        ++nPlaced;
        return;
    }
    // The four children sit towards the vertices of a body of size `radius`
    // around the centre, apex first: depth first, in this order.
    const float half = radius / 2.0f;
    const float lower = y - radius * kTetraThird;
    const float reach = kTetraGamma * kTetraBeta * radius;
    Subdivide(x, y + radius, z, half, level - 1);
    Subdivide(x, lower, z + kTetraBeta * radius, half, level - 1);
    Subdivide(x - reach, lower, z - kTetraBeta * radius / 2.0f, half, level - 1);
    Subdivide(x + reach, lower, z - kTetraBeta * radius / 2.0f, half, level - 1);
}

void CSierpinski::Release() {
    for (int i = 0; pcBodies != nullptr && i < nBodies; ++i) {
        pcBodies[i].Release();
    }
    pcBodies.reset();
    nBodies = 0;
    nPlaced = 0;
}

int CSierpinski::Draw() {
    if (pcBodies == nullptr) {
        return 0;
    }
    bool alike = true;
    for (int i = 0; i < nBodies; ++i) {
        for (int c = 0; c < 4; ++c) {
            pcBodies[i].fColour[c] = fColour[c];
        }
        alike = alike && pcBodies[i].DrawsLike(pcBodies[0]);
    }
    if (nBodies > 1 && alike) {
        // The bodies are drawn in one bracket of state: the state that each
        // body's own draw would set up (they all set up the same one), then
        // every body's triangles under its own place. This gives the same
        // pixels as drawing each body with its own list in its own bracket,
        // without setting up and putting back the whole state for every one
        // of them.
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        pcBodies[0].SetDrawState();
        pcBodies[0].SetTextureState();
        for (int i = 0; i < nBodies; ++i) {
            glPushMatrix();
            pcBodies[i].Place();
            pcBodies[i].EmitTriangles();
            glPopMatrix();
        }
        glPopAttrib();
        return nBodies;
    }
    for (int i = 0; i < nBodies; ++i) {
        pcBodies[i].Draw();
    }
    return nBodies;
}

} // namespace kestrune
