#include "renderer/Classes/CVector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrune {
namespace {

TEST(CVector, ComponentReadsXYZAndZeroOutsideTheRange) {
    CVector v;
    EXPECT_EQ(v.Component(0), 0.0f);
    v.Set(1.5f, -2.5f, 3.5f);
    EXPECT_EQ(v.Component(0), 1.5f);
    EXPECT_EQ(v.Component(1), -2.5f);
    EXPECT_EQ(v.Component(2), 3.5f);
    EXPECT_EQ(v.Component(3), 0.0f);
    EXPECT_EQ(v.Component(-1), 0.0f);

    v.SetY(7.0f);
    float x = 0, y = 0, z = 0;
    v.Get(&x, &y, &z);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(y, 7.0f);
    EXPECT_EQ(z, 3.5f);
}

TEST(CVector, LengthMagnitudeAndNormalizeOfThreeFourZero) {
    CVector v(3.0f, 4.0f, 0.0f);
    EXPECT_EQ(v.Length(), 5.0);
    // Magnitude measures its argument, not the vector it is called on.
    EXPECT_EQ(CVector().Magnitude(v), 5.0f);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_EQ(v.z, 0.0f);
}

TEST(CVector, ScalingReturnsANewVectorAndLeavesTheOperand) {
    const CVector v(1.0f, -2.0f, 4.0f);
    const CVector doubled = v * 2.0f;
    const CVector halved = v / 2.0f;
    EXPECT_EQ(doubled.x, 2.0f);
    EXPECT_EQ(doubled.y, -4.0f);
    EXPECT_EQ(doubled.z, 8.0f);
    EXPECT_EQ(halved.x, 0.5f);
    EXPECT_EQ(halved.z, 2.0f);
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.y, -2.0f);
}

TEST(CVector, NormalizingTheZeroVectorIsLeftToTheCallers) {
    // Unguarded by design: the callers check before they normalise.
    CVector zero;
    zero.Normalize();
    EXPECT_FALSE(std::isfinite(zero.x));
}

} // namespace
} // namespace kestrune
