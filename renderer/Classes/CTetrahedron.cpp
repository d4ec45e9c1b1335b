#include "renderer/Classes/CTetrahedron.h"

#include "renderer/shell/gl_extensions.h"

#include <algorithm>
#include <iterator>

namespace kestrune {

namespace {

// Texture coordinates of a face: the apex of an equilateral triangle and its
// two base corners.
constexpr GLfloat kApexS = 0.5f;
constexpr GLfloat kApexT = kTetraGamma;

struct Corner {
    const GLfloat* vertex;
    GLfloat s, t;
};

} // namespace

CTetrahedron::~CTetrahedron() {
    // A body that was never built, or already released, owns no list and
    // makes no OpenGL call.
    Release();
}

void CTetrahedron::Release() {
    if (uiList != 0 && glIsList(uiList)) {
        glDeleteLists(uiList, 1);
    }
    uiList = 0;
    bBuilt = false;
}

bool CTetrahedron::UsesTwoUnits() const {
    // A driver without the multitexture entry points gets the single-unit
    // body, as if the flag were off, so that nothing calls a missing entry.
    return bMultitexture && g_extensions.HasMultitexture();
}

void CTetrahedron::SetTextureState() const {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (UsesTwoUnits()) {
        g_extensions.glActiveTextureARB(GL_TEXTURE0_ARB);
        glEnable(GL_TEXTURE_2D);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, fEnvMode[0]);
        glBindTexture(GL_TEXTURE_2D, uiTexture[0]);
        g_extensions.glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, fEnvMode[1]);
        if (bSphereMap) {
            glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
        }
        glBindTexture(GL_TEXTURE_2D, uiTexture[1]);
    } else {
        glEnable(GL_TEXTURE_2D);
        if (bSphereMap) {
            glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
        }
        glBindTexture(GL_TEXTURE_2D, uiTexture[0]);
    }
}

void CTetrahedron::EmitTriangles() const {
    const float s = fSize;
    const GLfloat v0[3] = {0.0f, s, 0.0f};
    const GLfloat v1[3] = {0.0f, -s * kTetraThird, kTetraBeta * s};
    const GLfloat v2[3] = {-kTetraGamma * kTetraBeta * s, -s * kTetraThird, -kTetraBeta * s / 2.0f};
    const GLfloat v3[3] = {kTetraGamma * kTetraBeta * s, -s * kTetraThird, -kTetraBeta * s / 2.0f};
    // Each face's normal is the negated vertex opposite it: perpendicular to
    // the face, outward, and as long as the size (it is not normalised).
    const GLfloat n0[3] = {-v3[0], -v3[1], -v3[2]};
    const GLfloat n1[3] = {-v2[0], -v2[1], -v2[2]};
    const GLfloat n2[3] = {-v1[0], -v1[1], -v1[2]};
    const GLfloat n3[3] = {-v0[0], -v0[1], -v0[2]};
    const GLfloat* normals[4] = {n0, n1, n2, n3};
    const Corner faces[4][3] = {
        {{v0, kApexS, kApexT}, {v1, 0.0f, 0.0f}, {v2, 1.0f, 0.0f}},
        {{v0, kApexS, kApexT}, {v1, 1.0f, 0.0f}, {v3, 0.0f, 0.0f}},
        {{v0, kApexS, kApexT}, {v3, 1.0f, 0.0f}, {v2, 0.0f, 0.0f}},
        {{v1, kApexS, kApexT}, {v2, 0.0f, 0.0f}, {v3, 1.0f, 0.0f}},
    };
    const bool multitexture = UsesTwoUnits();
    glBegin(GL_TRIANGLES);
    for (int face = 0; face < 4; ++face) {
        if (bNormals) {
            glNormal3fv(normals[face]);
        }
        for (const Corner& corner : faces[face]) {
            if (multitexture) {
                g_extensions.glMultiTexCoord2fARB(GL_TEXTURE0_ARB, corner.s, corner.t);
                g_extensions.glMultiTexCoord2fARB(GL_TEXTURE1_ARB, corner.s, corner.t);
            } else {
                glTexCoord2f(corner.s, corner.t);
            }
            glVertex3fv(corner.vertex);
        }
    }
    glEnd();
}

void CTetrahedron::Build() {
    Release();
    uiList = glGenLists(1);
    if (uiList == 0) {
        // Without a list name the commands below would be drawn at once
        // instead of compiled; the body stays unbuilt and draws nothing.
        return;
    }
    glNewList(uiList, GL_COMPILE);
    SetTextureState();
    EmitTriangles();
    if (bSphereMap) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    glEndList();
    bBuilt = true;
}

void CTetrahedron::SetDrawState() const {
    glEnable(GL_DEPTH_TEST);
    if (bBlend) {
        glColor4fv(fColour);
        glEnable(GL_BLEND);
        glBlendFunc(static_cast<GLenum>(nBlendSrc), static_cast<GLenum>(nBlendDst));
    } else {
        glColor3fv(fColour);
    }
    // Bodies write depth even when blended, so that a fading figure still
    // hides what lies behind it in later draws.
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
}

void CTetrahedron::Place() const {
    glTranslatef(fPosition[0], fPosition[1], fPosition[2]);
    // An angle of 0 means no rotation; a zero axis has no rotation to make
    // and is skipped too, since drivers differ on what they do with it.
    const bool hasAxis =
        fRotationAxis[0] != 0.0f || fRotationAxis[1] != 0.0f || fRotationAxis[2] != 0.0f;
    if (fRotationAngle != 0.0f && hasAxis) {
        glRotatef(fRotationAngle, fRotationAxis[0], fRotationAxis[1], fRotationAxis[2]);
    }
}

bool CTetrahedron::Draw() {
    if (!bBuilt) {
        return false;
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    Place();
    SetDrawState();
    glCallList(uiList);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glPopAttrib();
    return true;
}

bool CTetrahedron::DrawsLike(const CTetrahedron& other) const {
    const auto same = [](const auto& a, const auto& b) {
        return std::equal(std::begin(a), std::end(a), std::begin(b));
    };
    return bBuilt && other.bBuilt && bNormals == other.bNormals && bBlend == other.bBlend &&
           bMultitexture == other.bMultitexture && bSphereMap == other.bSphereMap &&
           same(fColour, other.fColour) && nBlendSrc == other.nBlendSrc &&
           nBlendDst == other.nBlendDst && same(uiTexture, other.uiTexture) &&
           same(fEnvMode, other.fEnvMode);
}

} // namespace kestrune
