#include "Core/Math/Rotator.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using VT::Math::DegreesToRadians;
using VT::Math::Test::AreNear;
using VT::Math::Test::FRandom;

namespace
{
/** Pitch within [-90, 90], yaw and roll within (-180, 180]. */
bool IsCanonical(const FRotator& Angles)
{
    return std::abs(Angles.Pitch) <= 90 && Angles.Yaw > -180 && Angles.Yaw <= 180 && Angles.Roll > -180 &&
           Angles.Roll <= 180;
}
} // namespace

TEST(Rotator, QuaternionAppliesRollThenPitchThenYawAndRoundTrips)
{
    FRandom Random;
    for (int Index = 0; Index < 1000; ++Index)
    {
        // Away from the poles the angles themselves come back.
        const FRotator Angles(Random.Range(-89.9, 89.9), Random.Range(-180, 180), Random.Range(-180, 180));
        ASSERT_TRUE(AreNear(Angles.Quaternion().Rotator(), Angles, 1e-8));

        const FRotator Wide(Random.Range(-720, 720), Random.Range(-720, 720), Random.Range(-720, 720));
        const FQuat Yaw(FVector::UpVector, DegreesToRadians(Wide.Yaw));
        const FQuat Pitch(-FVector::RightVector, DegreesToRadians(Wide.Pitch));
        const FQuat Roll(-FVector::ForwardVector, DegreesToRadians(Wide.Roll));
        ASSERT_TRUE(AreNear(Wide.Quaternion(), Yaw * Pitch * Roll)) << *Wide.ToString();
        const FRotator Back = Wide.Quaternion().Rotator();
        ASSERT_TRUE(AreNear(Back.Quaternion(), Wide.Quaternion(), 1e-12)) << *Wide.ToString();
        ASSERT_TRUE(IsCanonical(Back)) << *Back.ToString();
    }
}

TEST(Rotator, GimbalPitchRoundTripsTheRotation)
{
    FRandom Random;
    for (const double Pitch : {90.0, -90.0, 90.0 - 1e-12, 90.0 - 1e-7, -90.0 + 1e-7, 270.0})
    {
        for (int Index = 0; Index < 50; ++Index)
        {
            const FQuat Rotation =
                FRotator(Pitch, Random.Range(-180, 180), Random.Range(-180, 180)).Quaternion();
            const FRotator Back = Rotation.Rotator();
            ASSERT_TRUE(AreNear(Back.Quaternion(), Rotation, 1e-12)) << Pitch;
            ASSERT_TRUE(IsCanonical(Back)) << *Back.ToString();
        }
    }
    // At a pole only yaw - roll (up) or yaw + roll (down) matters; roll comes back as zero.
    EXPECT_TRUE(AreNear(FRotator(90, 30, 20).Quaternion().Rotator(), FRotator(90, 10, 0), 1e-6));
    EXPECT_TRUE(AreNear(FRotator(-90, 30, 20).Quaternion().Rotator(), FRotator(-90, 50, 0), 1e-6));
}

TEST(Rotator, NormalizeAndEqualsWorkModuloFullTurns)
{
    EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(-180), 180);
    EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(540), 180);
    EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(190), -170);
    EXPECT_DOUBLE_EQ(FRotator::NormalizeAxis(-360), 0);
    EXPECT_EQ(FRotator(370, -540, 45).GetNormalized(), FRotator(10, 180, 45));

    EXPECT_TRUE(FRotator(0, 180, 0).Equals(FRotator(0, -180, 0)));
    EXPECT_TRUE(FRotator(10, 370, -350).Equals(FRotator(10, 10, 10)));
    EXPECT_FALSE(FRotator(10, 20, 30).Equals(FRotator(10, 20, 30.01)));
}
