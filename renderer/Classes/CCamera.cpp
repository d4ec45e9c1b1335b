#include "renderer/Classes/CCamera.h"

#include "renderer/opengl.h"

#include <cmath>

namespace kestrune {

namespace {

bool IsFinite(const CVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A vector that Normalize can divide: not zero, and with a finite length.
bool CanNormalize(const CVector& v) {
    const float magnitude = v.Magnitude(v);
    return magnitude > 0.0f && std::isfinite(magnitude);
}

} // namespace

CCamera::CCamera() {
    m_ring.ReuseStorage(true);
}

void CCamera::Update() {
    if (fDistance == 0.0f) {
        return;
    }
    if (fDistance < 0.0f) {
        fDistance = -fDistance;
    }

    const double distance = fDistance;
    const double azimuth = fAzimuth;
    const double elevation = fElevation;
    const CVector eye(static_cast<float>(std::cos(elevation) * std::cos(azimuth) * distance),
                      static_cast<float>(std::sin(elevation) * distance),
                      static_cast<float>(std::cos(elevation) * std::sin(azimuth) * distance));
    if (!IsFinite(eye)) {
        // An angle or a distance that is not a finite number gives no view:
        // the camera keeps its last one, as it does for distance 0.
        return;
    }

    CVector direction(fTarget[0] - eye.x, fTarget[1] - eye.y, fTarget[2] - eye.z);
    if (CanNormalize(direction)) {
        direction.Normalize();
    } else {
        // The target sits on the eye (or out of finite reach), so there is no
        // direction towards it. Look at the centre of the orbit instead,
        // which is where an orbiting viewer is meant to look.
        direction.Set(static_cast<float>(-std::cos(elevation) * std::cos(azimuth)),
                      static_cast<float>(-std::sin(elevation)),
                      static_cast<float>(-std::cos(elevation) * std::sin(azimuth)));
    }

    // The rolled up direction is the one vector of a ring around the viewing
    // direction, with the roll as its phase. A direction along z has no
    // plane of its own; the ring picks a fixed one (see CRing). The ring is
    // set up as a new one would be: no vectors while it takes the axis, phase
    // 0, then the roll and one vector.
    CVector up = cUp;
    m_ring.nVectors = 0;
    m_ring.fPhase = 0.0f;
    m_ring.fRadius = 1.0f;
    m_ring.GenerateAround(direction);
    m_ring.fPhase = fRoll;
    m_ring.nVectors = 1;
    m_ring.GenerateIt();
    // A ring that could not allocate answers false and up keeps its previous
    // value.
    m_ring.GetVector(0, &up);

    fEye[0] = eye.x;
    fEye[1] = eye.y;
    fEye[2] = eye.z;
    cDirection = direction;
    if (!CanNormalize(up)) {
        // Only a failed ring on the very first update leaves up at zero. A
        // view with no up direction cannot be formed, so the matrix is left
        // as it is for this frame; the next update tries again.
        return;
    }
    up.Normalize();
    cUp = up;

    gluLookAt(eye.x, eye.y, eye.z, eye.x + direction.x, eye.y + direction.y, eye.z + direction.z,
              up.x, up.y, up.z);
}

} // namespace kestrune
