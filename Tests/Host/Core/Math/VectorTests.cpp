#include "Core/Math/Vector.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

using VT::Math::Test::AreNear;

TEST(Vector, SafeNormalComparesSquaredLengthWithTolerance)
{
    EXPECT_TRUE(AreNear(FVector(0, 3, 4).GetSafeNormal(), FVector(0, 0.6, 0.8)));
    // Length 1e-5 is above 1e-8, but its square is not.
    EXPECT_EQ(FVector(1e-5, 0, 0).GetSafeNormal(), FVector::ZeroVector);
    EXPECT_TRUE(AreNear(FVector(1e-3, 0, 0).GetSafeNormal(), FVector::ForwardVector));
    EXPECT_EQ(FVector(0.2, 0, 0).GetSafeNormal(0.1), FVector::ZeroVector);
    EXPECT_EQ(FVector::ForwardVector.Cross(FVector::RightVector), FVector::UpVector);
}

TEST(Vector, ToleranceComparisonsArePerComponent)
{
    EXPECT_TRUE(FVector(1, 2, 3).Equals(FVector(1.00005, 1.99995, 3)));
    EXPECT_FALSE(FVector(1, 2, 3).Equals(FVector(1, 2, 3.001)));
    EXPECT_TRUE(FVector(1, 2, 3).Equals(FVector(1, 2, 3.001), 0.01));
    EXPECT_TRUE(FVector(1e-5, -1e-5, 0).IsNearlyZero());
    EXPECT_FALSE(FVector(0, 0, 2e-4).IsNearlyZero());
}
