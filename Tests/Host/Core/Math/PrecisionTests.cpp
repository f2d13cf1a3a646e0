#include "Core/Math/Matrix.h"
#include "Core/Math/Transform.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

using VT::Math::Test::AreNear;

static_assert(!std::is_convertible_v<FVector, FVector3f> && !std::is_convertible_v<FVector3f, FVector>,
              "precision changes only when it is asked for");

TEST(MathPrecision, SingleAndDoublePrecisionConvertBothWays)
{
    EXPECT_EQ(FVector3f(FVector(1.5, -2.25, 3)), FVector3f(1.5f, -2.25f, 3));
    EXPECT_EQ(FVector(FVector3f(0.5f, 1, 2)), FVector(0.5, 1, 2));

    const FQuat4f Quat(FQuat(FVector::UpVector, 0.5));
    EXPECT_TRUE(AreNear(FQuat(Quat), FQuat(FVector::UpVector, 0.5), 1e-7));
    EXPECT_TRUE(AreNear(Quat * FVector3f(1, 0, 0), FVector3f(std::cos(0.5f), std::sin(0.5f), 0), 1e-6));

    const FMatrix Double =
        FTransform(FRotator(10, 20, 30), FVector(4, 5, 6), FVector(2, 1, 0.5)).ToMatrixWithScale();
    const FMatrix44f Single(Double);
    EXPECT_FLOAT_EQ(Single.M[3][1], 5.0f);
    EXPECT_TRUE(AreNear(FMatrix(Single), Double, 1e-6));
    EXPECT_TRUE(AreNear(FMatrix(Single.Inverse()), Double.Inverse(), 1e-5));
}
