#include "renderer/Classes/CRing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace kestrune {
namespace {

constexpr double kPi = std::numbers::pi;

CVector VectorOf(const CRing& ring, int index) {
    CVector v;
    EXPECT_TRUE(ring.GetVector(index, &v)) << "vector " << index;
    return v;
}

double Dot(const CVector& a, const CVector& b) {
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

void ExpectVector(const CVector& v, double x, double y, double z, double tolerance) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

bool IsFinite(const CVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(CRing, ConstructedRingIsEmptyWithUnitRadiusAndZeroBasis) {
    CRing ring;
    EXPECT_EQ(ring.nVectors, 0);
    EXPECT_EQ(ring.pcVectorList, nullptr);
    EXPECT_EQ(ring.fRadius, 1.0f);
    EXPECT_EQ(ring.cAxis.Length(), 0.0);
    for (const auto& row : ring.fBasis) {
        for (float value : row) {
            EXPECT_EQ(value, 0.0f);
        }
    }
    CVector target(9.0f, 9.0f, 9.0f);
    EXPECT_FALSE(ring.GetVector(0, &target));
    EXPECT_EQ(target.x, 9.0f);
}

TEST(CRing, ZeroVectorsGiveAnEmptyListButANormalisedAxisAndBasis) {
    CRing ring;
    ring.GenerateAround(CVector(3.0f, 0.0f, 4.0f));
    ASSERT_NE(ring.pcVectorList, nullptr);
    ExpectVector(ring.cAxis, 0.6, 0.0, 0.8, 1e-7);
    EXPECT_FLOAT_EQ(ring.fBasis[0][1], 1.0f); // row 0 = (-y, x, 0) normalised
    EXPECT_FLOAT_EQ(ring.fBasis[2][2], 0.8f);
    CVector target;
    EXPECT_FALSE(ring.GetVector(0, &target));
}

TEST(CRing, AxisAlongXWithOneVectorGivesPlusY) {
    CRing ring;
    ring.cAxis.Set(1.0f, 0.0f, 0.0f);
    ring.nVectors = 1;
    ring.GenerateIt();
    ExpectVector(VectorOf(ring, 0), 0.0, 1.0, 0.0, 1e-7);
}

TEST(CRing, AxisTwoAlongYWithFourVectorsStepsByTheRingsOwnConstant) {
    CRing ring;
    ring.nVectors = 4;
    ring.GenerateAround(CVector(0.0f, 2.0f, 0.0f));
    ExpectVector(ring.cAxis, 0.0, 1.0, 0.0, 0.0);
    EXPECT_EQ(ring.fBasis[0][0], -1.0f);
    EXPECT_EQ(ring.fBasis[0][1], 0.0f);
    EXPECT_EQ(ring.fBasis[0][2], 0.0f);
    EXPECT_EQ(ring.fBasis[1][0], 0.0f);
    EXPECT_EQ(ring.fBasis[1][1], 0.0f);
    EXPECT_EQ(ring.fBasis[1][2], 1.0f);

    ExpectVector(VectorOf(ring, 0), -1.0, 0.0, 0.0, 0.0);
    ExpectVector(VectorOf(ring, 1), 0.0, 0.0, 1.0, 1e-5);
    ExpectVector(VectorOf(ring, 2), 1.0, 0.0, 0.0, 1e-5);
    ExpectVector(VectorOf(ring, 3), 0.0, 0.0, -1.0, 1e-5);
    // The step 6.283193 is a little more than 2 pi, so the half turn
    // overshoots by about 4e-6 radians: vector 2 dips below the x-y plane.
    // With an exact 2 pi step it would stay within a float's rounding of it.
    EXPECT_NEAR(VectorOf(ring, 2).z, -3.9e-6, 0.2e-6);
}

TEST(CRing, PhaseIsDividedByTheCountLikeTheStep) {
    CRing ring;
    ring.nVectors = 2;
    ring.fPhase = static_cast<float>(kPi);
    ring.GenerateAround(CVector(1.0f, 0.0f, 0.0f));
    // Angle pi/2 in the (row 0, row 1) plane: row 1, which is +z here.
    ExpectVector(VectorOf(ring, 0), 0.0, 0.0, 1.0, 1e-6);
    ExpectVector(VectorOf(ring, 1), 0.0, 0.0, -1.0, 1e-5);
}

TEST(CRing, VectorsLieOnACircleOfTheRadiusAroundAnyAxis) {
    CRing ring;
    ring.nVectors = 7;
    ring.fRadius = 2.5f;
    ring.fPhase = 0.3f;
    ring.GenerateAround(CVector(-1.0f, 2.0f, 0.5f));
    EXPECT_NEAR(ring.cAxis.Length(), 1.0, 1e-6);
    for (int i = 0; i < 7; ++i) {
        const CVector v = VectorOf(ring, i);
        EXPECT_NEAR(v.Length(), 2.5, 1e-5);
        EXPECT_NEAR(Dot(v, ring.cAxis), 0.0, 1e-5);
        // Neighbours are one step of 6.283193 / 7 apart.
        const CVector next = VectorOf(ring, (i + 1) % 7);
        if (i < 6) {
            EXPECT_NEAR(std::acos(Dot(v, next) / (2.5 * 2.5)), 6.283193 / 7.0, 1e-4);
        }
    }
}

TEST(CRing, GetVectorRefusesIndicesOutsideTheListAndLeavesTheTarget) {
    CRing ring;
    ring.nVectors = 3;
    ring.GenerateAround(CVector(0.0f, 1.0f, 0.0f));
    CVector target(5.0f, 6.0f, 7.0f);
    EXPECT_FALSE(ring.GetVector(3, &target));
    EXPECT_FALSE(ring.GetVector(-1, &target));
    EXPECT_EQ(target.x, 5.0f);
    EXPECT_EQ(target.z, 7.0f);
    EXPECT_FALSE(ring.GetVector(0, nullptr));

    // Raising the count without generating again does not let a reader past
    // the end of the list it has.
    ring.nVectors = 10;
    EXPECT_FALSE(ring.GetVector(5, &target));
    EXPECT_TRUE(ring.GetVector(2, &target));
}

TEST(CRing, NegativeCountLeavesNoListKeepsAxisAndBasisAndReportsTheDiagnostic) {
    CRing ring;
    ring.nVectors = 2;
    ring.GenerateAround(CVector(0.0f, 3.0f, 0.0f));
    const float row1z = ring.fBasis[1][2];

    ring.nVectors = -1;
    ring.cAxis.Set(5.0f, 0.0f, 0.0f);
    testing::internal::CaptureStderr();
    ring.GenerateIt();
    const std::string diagnostic = testing::internal::GetCapturedStderr();

    EXPECT_EQ(ring.pcVectorList, nullptr);
    CVector target;
    EXPECT_FALSE(ring.GetVector(0, &target));
    // The axis is not normalised and the basis is not touched.
    EXPECT_EQ(ring.cAxis.x, 5.0f);
    EXPECT_EQ(ring.fBasis[1][2], row1z);
#ifndef NDEBUG
    EXPECT_EQ(diagnostic, "Filename : Classes/CRing\nLine : 90\nMethod : CRing::GenerateIt()\n"
                          "Condition : if(pcVectorList == NULL)\n");
#else
    EXPECT_EQ(diagnostic, "");
#endif
}

TEST(CRing, DegenerateAxesFallBackToFiniteRingsAroundZ) {
    const CVector axes[] = {
        CVector(0.0f, 0.0f, 0.0f),   CVector(0.0f, 0.0f, 1.0f), CVector(0.0f, 0.0f, -3.0f),
        CVector(1e-40f, 0.0f, 1.0f), CVector(NAN, 0.0f, 1.0f),  CVector(INFINITY, 1.0f, 0.0f),
    };
    for (const CVector& axis : axes) {
        SCOPED_TRACE(testing::Message() << "axis " << axis.x << " " << axis.y << " " << axis.z);
        CRing ring;
        ring.nVectors = 5;
        ring.fRadius = 2.0f;
        ring.GenerateAround(axis);
        ASSERT_TRUE(IsFinite(ring.cAxis));
        EXPECT_NEAR(ring.cAxis.Length(), 1.0, 1e-6);
        for (int i = 0; i < 5; ++i) {
            const CVector v = VectorOf(ring, i);
            ASSERT_TRUE(IsFinite(v));
            EXPECT_NEAR(v.Length(), 2.0, 1e-5);
            EXPECT_NEAR(Dot(v, ring.cAxis), 0.0, 1e-5);
        }
    }
}

TEST(CRing, AxisAlongZContinuesTheRingsOfAxesTiltedTowardsPlusX) {
    for (float z : {1.0f, -1.0f}) {
        CRing straight;
        straight.nVectors = 3;
        straight.GenerateAround(CVector(0.0f, 0.0f, z));
        CRing tilted;
        tilted.nVectors = 3;
        tilted.GenerateAround(CVector(1e-4f, 0.0f, z));
        for (int i = 0; i < 3; ++i) {
            const CVector a = VectorOf(straight, i);
            const CVector b = VectorOf(tilted, i);
            ExpectVector(a, b.x, b.y, b.z, 1e-3);
        }
    }
}

} // namespace
} // namespace kestrune
