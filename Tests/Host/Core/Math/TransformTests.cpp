#include "Core/Math/Transform.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

using VT::Math::Pi;
using VT::Math::Test::AreNear;
using VT::Math::Test::FRandom;

namespace
{
const FQuat Yaw90(FVector::UpVector, Pi / 2);
} // namespace

TEST(Transform, AppliesScaleRotationTranslationAndProductAppliesLeftOperandFirst)
{
    const FTransform Transform(Yaw90, FVector(10, 0, 0), FVector(2, 3, 4));
    // (1,1,1) -> scaled (2,3,4) -> turned (-3,2,4) -> moved (7,2,4).
    EXPECT_TRUE(AreNear(Transform.TransformPosition(FVector(1, 1, 1)), FVector(7, 2, 4)));
    EXPECT_TRUE(AreNear(Transform.TransformVector(FVector(1, 1, 1)), FVector(-3, 2, 4)));
    EXPECT_TRUE(AreNear(Transform.TransformVectorNoScale(FVector(1, 1, 1)), FVector(-1, 1, 1)));
    EXPECT_TRUE(AreNear(Transform.InverseTransformPosition(FVector(7, 2, 4)), FVector(1, 1, 1)));

    const FTransform Move(FVector(1, 0, 0));
    const FTransform Turn(Yaw90, FVector::ZeroVector);
    EXPECT_TRUE(AreNear((Move * Turn).TransformPosition(FVector::ZeroVector), FVector(0, 1, 0)));
    EXPECT_TRUE(AreNear((Turn * Move).TransformPosition(FVector::ZeroVector), FVector(1, 0, 0)));

    // Non-uniform scale on both sides: per-axis scales multiply, B's scale and rotation move A's origin.
    const FTransform A(Yaw90, FVector(1, 2, 3), FVector(1, 2, 1));
    const FTransform B(FQuat(FVector::ForwardVector, Pi), FVector(0, 0, 1), FVector(3, 1, 1));
    const FTransform Product = A * B;
    EXPECT_TRUE(AreNear(Product.GetRotation(), B.GetRotation() * A.GetRotation()));
    EXPECT_TRUE(AreNear(Product.GetScale3D(), FVector(3, 2, 1)));
    EXPECT_TRUE(AreNear(Product.GetTranslation(), FVector(3, -2, -2)));
}

TEST(Transform, InverseUndoesNonZeroScale)
{
    FRandom Random;
    for (int Index = 0; Index < 100; ++Index)
    {
        const FTransform A = Random.Transform(FVector(Random.Range(0.1, 3), 2, -Random.Range(0.1, 3)));
        ASSERT_TRUE(AreNear(A * A.Inverse(), FTransform::Identity));
        const FVector Point(Random.Range(-9, 9), 1, 2);
        ASSERT_TRUE(AreNear(A.InverseTransformPosition(A.TransformPosition(Point)), Point));

        const FTransform Uniform = Random.Transform(FVector(Random.Range(0.1, 3)));
        ASSERT_TRUE(AreNear(Uniform.Inverse().TransformPosition(Uniform.TransformPosition(Point)), Point));
    }
}

TEST(Transform, InverseOfZeroScale)
{
    EXPECT_EQ(FTransform(Yaw90, FVector(1, 2, 3), FVector::ZeroVector).Inverse(), FTransform::Identity);
    EXPECT_EQ(FTransform(Yaw90, FVector(1, 2, 3), FVector(1e-9, -1e-8, 0)).Inverse(), FTransform::Identity);

    const FTransform Inverse = FTransform(Yaw90, FVector(1, 2, 3), FVector(2, 0, 4)).Inverse();
    EXPECT_TRUE(AreNear(Inverse.GetRotation(), Yaw90.Inverse()));
    EXPECT_EQ(Inverse.GetScale3D(), FVector(0.5, 0, 0.25));
    // (-0.5, 0, -0.75) turned back by 90 degrees about Z.
    EXPECT_TRUE(AreNear(Inverse.GetTranslation(), FVector(0, 0.5, -0.75)));
}

TEST(Transform, TextShowsTranslationRotationAndScaleWithoutNegativeZeros)
{
    const FTransform Transform(FRotator(10, 20, 30), FVector(1, 2, 3), FVector(1, 1, 2));
    EXPECT_EQ(Transform.ToString(),
              "1.000000,2.000000,3.000000|10.000000,20.000000,30.000000|1.000000,1.000000,2.000000");
    EXPECT_EQ(FTransform::Identity.ToString(),
              "0.000000,0.000000,0.000000|0.000000,0.000000,0.000000|1.000000,1.000000,1.000000")
        << "no negative zeros";
}
