#include "Core/Math/Quat.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using VT::Math::Pi;
using VT::Math::Test::AreNear;

TEST(Quat, AxisAngleFollowsTheRightHandRuleAndProductAppliesRightOperandFirst)
{
    EXPECT_TRUE(AreNear(FQuat(FVector::UpVector, Pi / 2) * FVector::ForwardVector, FVector::RightVector));
    EXPECT_TRUE(AreNear(FQuat(FVector::ForwardVector, Pi / 2) * FVector::RightVector, FVector::UpVector));
    EXPECT_TRUE(AreNear(FQuat(FVector::RightVector, Pi / 2) * FVector::UpVector, FVector::ForwardVector));
    const FQuat AboutZ(FVector::UpVector, Pi / 2);
    const FQuat AboutX(FVector::ForwardVector, Pi / 2);
    // Right -> Up about X, which the Z turn keeps; Right -> -Forward about Z, which the X turn keeps.
    EXPECT_TRUE(AreNear((AboutZ * AboutX).RotateVector(FVector::RightVector), FVector::UpVector));
    EXPECT_TRUE(AreNear((AboutX * AboutZ).RotateVector(FVector::RightVector), -FVector::ForwardVector));

    const FQuat A(FVector(1, 2, 2) / 3.0, 0.7);
    const FQuat B(FVector(0, 0.6, -0.8), -1.9);
    const FVector Point(0.3, -4, 2);
    EXPECT_TRUE(AreNear((A * B).RotateVector(Point), A.RotateVector(B.RotateVector(Point))));
    EXPECT_TRUE(AreNear(A.UnrotateVector(A.RotateVector(Point)), Point));
    EXPECT_TRUE(AreNear(A * A.Inverse(), FQuat::Identity));
}

TEST(Quat, NormalizeComparesSquaredLengthWithTolerance)
{
    FQuat Q(0, 0, 3, 4);
    EXPECT_DOUBLE_EQ(Q.Size(), 5.0);
    Q.Normalize();
    EXPECT_TRUE(AreNear(Q, FQuat(0, 0, 0.6, 0.8)));
    // Length 5e-5 exceeds 1e-8 but its square (2.5e-9) does not: the result is the identity.
    EXPECT_EQ(FQuat(5e-5, 0, 0, 0).GetNormalized(), FQuat::Identity);
    EXPECT_TRUE(AreNear(FQuat(2e-4, 0, 0, 0).GetNormalized(), FQuat(1, 0, 0, 0)));
    EXPECT_EQ(FQuat(0.1, 0, 0, 0).GetNormalized(0.1), FQuat::Identity);
    EXPECT_TRUE(std::isnan(FQuat(std::nan(""), 0, 0, 1).GetNormalized().X)) << "NaN is carried, not hidden";
}

TEST(Quat, SmallAnglesKeepTheirPrecision)
{
    const FVector Axis(0, 0, 1);
    EXPECT_NEAR(FQuat(Axis, 1e-8).GetAngle(), 1e-8, 1e-20);
    EXPECT_NEAR(FQuat(Axis, 1e-7).GetAngle(), 1e-7, 1e-19);
    EXPECT_NEAR(FQuat(Axis, 3.0).GetAngle(), 3.0, 1e-12);
}

TEST(Quat, EqualsTreatsNegatedQuaternionAsTheSameRotation)
{
    const FQuat Q(FVector(1, 2, 2) / 3.0, 1.0);
    EXPECT_TRUE(Q.Equals(-Q));
    EXPECT_FALSE(Q.Equals(Q.Inverse()));
    EXPECT_FALSE(Q.Equals(FQuat(FVector(1, 2, 2) / 3.0, 1.01)));
}

TEST(Quat, SlerpTakesTheShorterArc)
{
    const FQuat To(FVector::UpVector, Pi / 2);
    EXPECT_TRUE(AreNear(FQuat::Slerp(FQuat::Identity, To, 0.25), FQuat(FVector::UpVector, Pi / 8)));
    EXPECT_TRUE(AreNear(FQuat::Slerp(FQuat::Identity, -To, 0.5), FQuat(FVector::UpVector, Pi / 4)));
    EXPECT_TRUE(AreNear(FQuat::Slerp(FQuat::Identity, To, 1.0), To));
    // Nearly equal ends take the interpolation that avoids dividing by sin(angle).
    const FQuat Mid = FQuat::Slerp(FQuat::Identity, FQuat(FVector::UpVector, 1e-4), 0.5);
    EXPECT_TRUE(AreNear(Mid, FQuat(FVector::UpVector, 5e-5)));
}
