#include "renderer/Classes/CRing.h"

#include "renderer/Classes/array_allocation.h"

#include <cmath>
#include <cstdio>

namespace kestrune {

namespace {

// The angular step between neighbouring vectors before the division by the
// count: the single-precision number 6.283193, a little more than 2 pi. The
// ring's vectors are spaced by this constant, not by 2 pi exactly.
constexpr double kStep = static_cast<double>(6.283193f);

// Where the diagnostic of a failed allocation says it comes from.
constexpr const char* kDiagnosticFile = "Classes/CRing";
constexpr int kDiagnosticLine = 90;
constexpr std::size_t kDiagnosticSize = 1024;

// The diagnostic is meant for a developer, never for the user: debug builds
// write it to standard error, release builds drop it.
void SendToDebugChannel(const char* text) {
#ifndef NDEBUG
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
#else
    (void)text;
#endif
}

void ReportAllocationFailure() {
    char text[kDiagnosticSize];
    std::snprintf(text, sizeof text,
                  "Filename : %s\nLine : %d\nMethod : CRing::GenerateIt()\nCondition : "
                  "if(pcVectorList == NULL)",
                  kDiagnosticFile, kDiagnosticLine);
    SendToDebugChannel(text);
}

bool AllFinite(const float (&basis)[3][3]) {
    for (const auto& row : basis) {
        for (float value : row) {
            if (!std::isfinite(value)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

CRing::CRing() {
    for (nI = 0; nI < 3; ++nI) {
        for (nJ = 0; nJ < 3; ++nJ) {
            fBasis[nI][nJ] = 0.0f;
        }
    }
}

void CRing::GenerateAround(CVector axis) {
    cAxis = axis;
    GenerateIt();
}

void CRing::GenerateIt() {
    const bool fits =
        m_reuseStorage && pcVectorList != nullptr && nVectors >= 0 && nVectors <= m_capacity;
    if (fits) {
        // Every vector the loop below reads is written first, so the old
        // contents do not matter.
        m_listLength = nVectors;
    } else {
        pcVectorList.reset();
        m_listLength = 0;
        m_capacity = 0;
        pcVectorList = AllocateArray<CVector>(nVectors);
        if (pcVectorList == nullptr) {
            // The ring stays empty; axis and basis keep what they held.
            ReportAllocationFailure();
            return;
        }
        m_listLength = nVectors;
        m_capacity = nVectors;
    }

    // An axis of zero length (or one that is not finite) has no direction to
    // normalise. Such a ring is generated around +z instead, so that its
    // vectors stay finite; every other axis is normalised as it is.
    const float length = cAxis.Magnitude(cAxis);
    if (length > 0.0f && std::isfinite(length)) {
        cAxis = cAxis / length;
    } else {
        cAxis.Set(0.0f, 0.0f, 1.0f);
    }

    for (nI = 0; nI < nVectors; ++nI) {
        // The phase is divided by the count together with the step.
        const double theta = (nI * kStep + fPhase) / nVectors;
        pcVectorList[nI].Set(static_cast<float>(std::cos(theta)),
                             static_cast<float>(std::sin(theta)), 0.0f);
    }

    // Rows 0 and 1 are (-y, x, 0) and (-x z, -y z, g) / g with g = x^2 + y^2,
    // normalised: they span the plane perpendicular to the axis.
    const double x = cAxis.x;
    const double y = cAxis.y;
    const double z = cAxis.z;
    const double g = x * x + y * y;
    bool planeFound = g > 0.0;
    if (planeFound) {
        fBasis[0][0] = static_cast<float>(-y);
        fBasis[0][1] = static_cast<float>(x);
        fBasis[0][2] = 0.0f;
        fBasis[1][0] = static_cast<float>(-x * z / g);
        fBasis[1][1] = static_cast<float>(-y * z / g);
        fBasis[1][2] = 1.0f;
        fBasis[2][0] = cAxis.x;
        fBasis[2][1] = cAxis.y;
        fBasis[2][2] = cAxis.z;
        for (nI = 0; nI < 3; ++nI) {
            const CVector row(fBasis[nI][0], fBasis[nI][1], fBasis[nI][2]);
            const double rowLength = row.Length();
            for (nJ = 0; nJ < 3; ++nJ) {
                fBasis[nI][nJ] = static_cast<float>(fBasis[nI][nJ] / rowLength);
            }
        }
        // An axis within a hair of z (x and y near the smallest floats) can
        // still overflow row 1; it is treated like an axis along z.
        planeFound = AllFinite(fBasis);
    }
    if (!planeFound) {
        // An axis along z leaves the plane's orientation undefined. Take the
        // limit of the formulas as the axis tilts towards +x: row 0 = (0, 1,
        // 0), row 1 = (-z, 0, 0). The rows stay unit length, perpendicular to
        // the axis and turning the same way round it as for any other axis.
        const float sign = cAxis.z < 0.0f ? -1.0f : 1.0f;
        const float fallback[3][3] = {
            {0.0f, 1.0f, 0.0f}, {-sign, 0.0f, 0.0f}, {cAxis.x, cAxis.y, cAxis.z}};
        for (nI = 0; nI < 3; ++nI) {
            for (nJ = 0; nJ < 3; ++nJ) {
                fBasis[nI][nJ] = fallback[nI][nJ];
            }
        }
    }

    for (nI = 0; nI < nVectors; ++nI) {
        const double a = pcVectorList[nI].x;
        const double b = pcVectorList[nI].y;
        const double c = pcVectorList[nI].z;
        CVector turned;
        turned.x = static_cast<float>(fBasis[0][0] * a + fBasis[1][0] * b + fBasis[2][0] * c);
        turned.y = static_cast<float>(fBasis[0][1] * a + fBasis[1][1] * b + fBasis[2][1] * c);
        turned.z = static_cast<float>(fBasis[0][2] * a + fBasis[1][2] * b + fBasis[2][2] * c);
        pcVectorList[nI] = turned * fRadius;
    }
}

bool CRing::GetVector(int index, CVector* target) const {
    if (target == nullptr || pcVectorList == nullptr || index < 0 || index >= nVectors ||
        index >= m_listLength) {
        return false;
    }
    *target = pcVectorList[index];
    return true;
}

} // namespace kestrune
