#include "Core/Math/Matrix.h"
#include "Core/Math/Transform.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

using VT::Math::Pi;
using VT::Math::Test::AreNear;
using VT::Math::Test::FRandom;

namespace
{
FMatrix MakeMatrix(std::initializer_list<double> Values)
{
    FMatrix Result;
    int32 Index = 0;
    for (const double Value : Values)
    {
        Result.M[Index / 4][Index % 4] = Value;
        ++Index;
    }
    return Result;
}

/** An arbitrary matrix, last column included. */
const FMatrix General = MakeMatrix({2, -1, 0, 3, 1, 4, -2, 0, 0.5, 0, 3, 1, -1, 2, 1, 5});
} // namespace

TEST(Matrix, AgreesWithTransform)
{
    FRandom Random;
    for (int Index = 0; Index < 50; ++Index)
    {
        const FTransform A = Random.Transform(FVector(Random.Range(0.2, 3), -2, 0.5));
        const FMatrix Matrix = A.ToMatrixWithScale();
        const FVector Point(Random.Range(-9, 9), -3, 4);
        ASSERT_TRUE(AreNear(Matrix.TransformPosition(Point), A.TransformPosition(Point)));
        ASSERT_TRUE(AreNear(Matrix.TransformVector(Point), A.TransformVector(Point)));
        ASSERT_EQ(Matrix.GetOrigin(), A.GetTranslation());

        // The transform product is exact when the second scale is uniform.
        const FTransform B = Random.Transform(FVector(Random.Range(-3, 3)));
        ASSERT_TRUE(AreNear(Matrix * B.ToMatrixWithScale(), (A * B).ToMatrixWithScale()));
        ASSERT_TRUE(AreNear(B.ToMatrixWithScale().Inverse(), B.Inverse().ToMatrixWithScale()));
    }
    const FMatrix Turned = FTransform(FQuat(FVector::UpVector, Pi / 2), FVector(7, 8, 9)).ToMatrixWithScale();
    EXPECT_TRUE(AreNear(Turned.GetRow(0), FVector::RightVector));
    EXPECT_EQ(Turned.GetRow(3), FVector(7, 8, 9));
}

TEST(Matrix, InverseAndDeterminant)
{
    EXPECT_TRUE(AreNear(General * General.Inverse(), FMatrix::Identity, 1e-12));
    EXPECT_TRUE(AreNear(General.Inverse() * General, FMatrix::Identity, 1e-12));
    EXPECT_DOUBLE_EQ(MakeMatrix({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5}).Determinant(), 120.0);
    EXPECT_DOUBLE_EQ(MakeMatrix({1, 7, 3, 9, 0, 2, 5, 1, 0, 0, 3, 4, 0, 0, 0, 4}).Determinant(), 24.0);
    FMatrix Swapped = General;
    std::swap(Swapped.M[0], Swapped.M[2]);
    EXPECT_DOUBLE_EQ(Swapped.Determinant(), -General.Determinant());
    const FTransform Mirrored(FRotator(10, 20, 30), FVector(4, 5, 6), FVector(2, 3, -4));
    EXPECT_NEAR(Mirrored.ToMatrixWithScale().Determinant(), -24.0, 1e-12);

    FMatrix Singular = General;
    for (int32 Column = 0; Column < 4; ++Column)
    {
        Singular.M[2][Column] = 2 * Singular.M[0][Column];
    }
    EXPECT_EQ(Singular.Inverse(), FMatrix::Identity);
}

TEST(Matrix, DecomposesBackToTheTransform)
{
    FRandom Random;
    for (int Index = 0; Index < 50; ++Index)
    {
        const FTransform Transform = Random.Transform(FVector(Random.Range(0.1, 4), 1, Random.Range(0.1, 4)));
        ASSERT_TRUE(AreNear(FTransform(Transform.ToMatrixWithScale()), Transform));
    }
    // A mirror comes back as a negative X scale, whichever axis it was on.
    const FTransform MirrorY(FRotator(10, 20, 30), FVector(1, 2, 3), FVector(2, -3, 4));
    const FTransform Decomposed(MirrorY.ToMatrixWithScale());
    EXPECT_TRUE(AreNear(Decomposed.GetScale3D(), FVector(-2, 3, 4)));
    EXPECT_TRUE(AreNear(Decomposed.ToMatrixWithScale(), MirrorY.ToMatrixWithScale()));
}

TEST(Matrix, DecomposesZeroScaleAxes)
{
    const FRotator Angles(15, -40, 70);
    for (const FVector& Scale : {FVector(2, 0, 3), FVector(0, 0, 5), FVector(0, 1.5, 0), FVector(0, 0, 0)})
    {
        const FTransform Transform(Angles, FVector(1, 2, 3), Scale);
        const FTransform Decomposed(Transform.ToMatrixWithScale());
        EXPECT_TRUE(Decomposed.GetRotation().IsNormalized()) << *Scale.ToString();
        EXPECT_TRUE(AreNear(Decomposed.ToMatrixWithScale(), Transform.ToMatrixWithScale()))
            << *Scale.ToString();
    }
    // One flat axis: the other two still fix the rotation.
    const FTransform Flat(Angles, FVector::ZeroVector, FVector(2, 0, 3));
    EXPECT_TRUE(AreNear(FTransform(Flat.ToMatrixWithScale()).GetRotation(), Angles.Quaternion()));
}
