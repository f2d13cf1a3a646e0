#include "Core/Math/Vector.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

using VT::Math::Test::AreNear;

TEST(Vector, ArithmeticDotAndCross)
{
    const FVector A(1, 2, 3);
    const FVector B(4, -5, 6);
    EXPECT_EQ(A - B, FVector(-3, 7, -3));
    EXPECT_EQ(A * B, FVector(4, -10, 18));
    EXPECT_EQ(2.0 * A + B / 2.0, FVector(4, 1.5, 9));
    EXPECT_DOUBLE_EQ(A.Dot(B), 12.0);
    EXPECT_EQ(A.Cross(B), FVector(27, 6, -13));
    EXPECT_EQ(FVector::ForwardVector.Cross(FVector::RightVector), FVector::UpVector);
    EXPECT_DOUBLE_EQ(FVector(3, 4, 12).Size(), 13.0);
    EXPECT_EQ(A.ComponentMin(B), FVector(1, -5, 3));
    EXPECT_EQ(A.ComponentMax(B), FVector(4, 2, 6));
}

TEST(Vector, SafeNormalComparesSquaredLengthWithTolerance)
{
    EXPECT_TRUE(AreNear(FVector(0, 3, 4).GetSafeNormal(), FVector(0, 0.6, 0.8)));
    // Length 1e-5 is above 1e-8, but its square is not.
    EXPECT_EQ(FVector(1e-5, 0, 0).GetSafeNormal(), FVector::ZeroVector);
    EXPECT_TRUE(AreNear(FVector(1e-3, 0, 0).GetSafeNormal(), FVector::ForwardVector));
    EXPECT_EQ(FVector(0.2, 0, 0).GetSafeNormal(0.1), FVector::ZeroVector);
}

TEST(Vector, ToleranceComparisonsArePerComponent)
{
    EXPECT_TRUE(FVector(1, 2, 3).Equals(FVector(1.00005, 1.99995, 3)));
    EXPECT_FALSE(FVector(1, 2, 3).Equals(FVector(1, 2, 3.001)));
    EXPECT_TRUE(FVector(1, 2, 3).Equals(FVector(1, 2, 3.001), 0.01));
    EXPECT_TRUE(FVector(1e-5, -1e-5, 0).IsNearlyZero());
    EXPECT_FALSE(FVector(0, 0, 2e-4).IsNearlyZero());
}
