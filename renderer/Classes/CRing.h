#pragma once

#include "renderer/Classes/CVector.h"

#include <memory>

namespace kestrune {

// A ring of nVectors vectors spaced evenly on a circle of radius fRadius about
// the origin, in the plane perpendicular to cAxis, starting at an angle set by
// fPhase. The camera uses a ring of one vector around its viewing direction
// to find its rolled up direction.
class CRing {
public:
    CRing();

    // Copies the axis and generates the ring around it.
    void GenerateAround(CVector axis);

    // Rebuilds the ring from cAxis, nVectors, fPhase and fRadius. Normalises
    // cAxis in place and leaves the basis used in fBasis.
    void GenerateIt();

    // Copies vector `index` into *target and returns true, or returns false
    // and leaves *target alone when there is no such vector.
    bool GetVector(int index, CVector* target) const;

    // Off (the default), every generation releases the list and allocates a
    // fresh one. On, a generation that fits in the storage the ring already
    // holds writes into it instead, so that an owner generating the same small
    // ring over and over (the camera, once a frame) allocates only once.
    void ReuseStorage(bool reuse) { m_reuseStorage = reuse; }

    CVector cAxis;
    int nVectors = 0;
    std::unique_ptr<CVector[]> pcVectorList;
    float fRadius = 1.0f;
    // Starts at 0, so that a ring generated before anyone sets a phase starts
    // at the first basis vector rather than at an arbitrary angle.
    float fPhase = 0.0f;
    // Rows 0 and 1 span the plane of the ring; row 2 is the axis.
    float fBasis[3][3];
    // Working indices of the loops, kept as members.
    int nI = 0;
    int nJ = 0;

private:
    // How many vectors the list really holds. nVectors is a public field that
    // the caller may change between generations, so reading by nVectors alone
    // could run past the end of the list.
    int m_listLength = 0;
    // How many vectors the list's storage has room for.
    int m_capacity = 0;
    bool m_reuseStorage = false;
};

} // namespace kestrune
