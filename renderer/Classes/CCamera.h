#pragma once

#include "renderer/Classes/CRing.h"
#include "renderer/Classes/CVector.h"

namespace kestrune {

// A viewer on a sphere around the world origin, given by a distance and two
// angles, looking at a target and rolled about the viewing direction by a
// third angle. Each Update multiplies the current matrix by the view.
class CCamera {
public:
    CCamera();

    // Computes eye, direction and up from the fields and applies the view
    // with gluLookAt. The caller has the modelview matrix current.
    void Update();

    float fTarget[3] = {0.0f, 0.0f, 0.0f};
    float fEye[3] = {0.0f, 0.0f, 0.0f};
    // Unit viewing direction and unit up direction of the last update.
    CVector cDirection;
    CVector cUp;
    // Distance of the eye from the origin (not from the target).
    float fDistance = 1.0f;
    // Radians: about the y axis from +x towards +z.
    float fAzimuth = 0.0f;
    // Radians above the x-z plane.
    float fElevation = 0.0f;
    // Radians about the viewing direction.
    float fRoll = 0.0f;

private:
    // The ring that finds the rolled up direction. It is generated afresh
    // on every update, as a temporary ring would be, but keeps its storage
    // between updates, so that a frame allocates nothing.
    CRing m_ring;
};

} // namespace kestrune
