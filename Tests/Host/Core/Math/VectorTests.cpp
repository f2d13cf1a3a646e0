#include "Core/Math/Vector.h"
#include "Core/Math/Vector2.h"
#include "Core/Math/Vector4.h"
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

TEST(Vector, TextRoundTrip)
{
    EXPECT_EQ(FVector(1, -2.5, 1234.56789).ToString(), "X=1.000 Y=-2.500 Z=1234.568");

    FVector Parsed;
    ASSERT_TRUE(Parsed.InitFromString(FVector(12.345, -0.5, 1e6).ToString()));
    EXPECT_EQ(Parsed, FVector(12.345, -0.5, 1e6));
    ASSERT_TRUE(Parsed.InitFromString("Z=3 X=+1.5 Y=-2e2"));
    EXPECT_EQ(Parsed, FVector(1.5, -200, 3));
    FVector3f Single;
    ASSERT_TRUE(Single.InitFromString("X=1.000 Y=2.000 Z=3.500"));
    EXPECT_EQ(Single, FVector3f(1, 2, 3.5f));
}

TEST(Vector, InitFromStringRejectsIncompleteTextAndKeepsValue)
{
    FVector Value(7, 8, 9);
    for (const char* Text : {"", "X=1 Y=2", "X=1 Y=two Z=3", "X=1 Y=2 Z=3abc", "AX=1 Y=2 Z=3"})
    {
        EXPECT_FALSE(Value.InitFromString(Text)) << Text;
    }
    EXPECT_EQ(Value, FVector(7, 8, 9));
}

TEST(Vector, TwoAndFourComponents)
{
    const FVector2D A(3, 4);
    EXPECT_DOUBLE_EQ(A.Size(), 5.0);
    EXPECT_GT(FVector2D(1, 0).Cross(FVector2D(0, 1)), 0.0);
    EXPECT_TRUE(AreNear(A.GetSafeNormal(), FVector2D(0.6, 0.8)));
    EXPECT_EQ(FVector2f(A), FVector2f(3, 4));

    const FVector4f V(FVector3f(1, 2, 3), 4);
    EXPECT_FLOAT_EQ(V.Dot4(FVector4f(1, 1, 1, 1)), 10.0f);
    EXPECT_EQ(V.XYZ(), FVector3f(1, 2, 3));
}
