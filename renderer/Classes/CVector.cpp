#include "renderer/Classes/CVector.h"

#include <cmath>

namespace kestrune {

void CVector::Set(float px, float py, float pz) {
    x = px;
    y = py;
    z = pz;
}

void CVector::Get(float* px, float* py, float* pz) const {
    *px = x;
    *py = y;
    *pz = z;
}

float CVector::Component(int i) const {
    switch (i) {
    case 0:
        return x;
    case 1:
        return y;
    case 2:
        return z;
    default:
        return 0.0f;
    }
}

CVector CVector::operator*(float s) const {
    const double f = s;
    return CVector(static_cast<float>(x * f), static_cast<float>(y * f), static_cast<float>(z * f));
}

CVector CVector::operator/(float s) const {
    const double d = s;
    return CVector(static_cast<float>(x / d), static_cast<float>(y / d), static_cast<float>(z / d));
}

double CVector::Length() const {
    const double dx = x;
    const double dy = y;
    const double dz = z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float CVector::Magnitude(CVector v) const {
    return static_cast<float>(v.Length());
}

void CVector::Normalize() {
    *this = *this / Magnitude(*this);
}

} // namespace kestrune
