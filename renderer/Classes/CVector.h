#pragma once

namespace kestrune {

// A three-component single-precision vector, passed by value as freely as a
// float. Arithmetic is done in double precision and stored as single
// precision, so results do not depend on how a compiler keeps intermediates.
//
// Nothing here guards a division by zero: dividing by 0 or normalising the
// zero vector gives components that are not finite, exactly as dividing
// floats would. The callers that can meet such a vector (the ring, the camera,
// the particle emitter) check for it before they divide, where they know what
// a sensible fallback is.
class CVector {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    CVector() = default;
    CVector(float px, float py, float pz) : x(px), y(py), z(pz) {}
    CVector(const CVector&) = default;
    CVector& operator=(const CVector&) = default;
    ~CVector() = default;

    void Set(float px, float py, float pz);
    void SetX(float value) { x = value; }
    void SetY(float value) { y = value; }
    void SetZ(float value) { z = value; }

    void Get(float* px, float* py, float* pz) const;
    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetZ() const { return z; }

    // x for 0, y for 1, z for 2; 0 for any other index, so that a loop over
    // a wrong range reads zeros instead of memory beside the vector.
    float Component(int i) const;

    CVector operator*(float s) const;
    CVector operator/(float s) const;

    // The length in double precision, before any rounding to float.
    double Length() const;

    // The length of v (not of this vector), rounded to float.
    float Magnitude(CVector v) const;

    // Divides the vector by its own magnitude. Not guarded: see above.
    void Normalize();
};

} // namespace kestrune
