#include "Core/Math/ForwardKinematics.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

using VT::Math::FillComponentSpaceTransforms;
using VT::Math::Test::AreNear;

TEST(TransformForwardKinematics, ChainsLocalPosesFromRootToTip)
{
    // The root is raised and faces +Y; the middle bone pitches the tip up.
    const TArray<FTransform> Local{
        FTransform(FRotator(0, 90, 0), FVector(0, 0, 10)),
        FTransform(FRotator(90, 0, 0), FVector(5, 0, 0)),
        FTransform(FQuat::Identity, FVector(3, 0, 0), FVector(2, 2, 2)),
    };
    const TArray<int32> Parents{INDEX_NONE, 0, 1};
    TArray<FTransform> Global{FTransform::Identity, FTransform::Identity, FTransform::Identity,
                              FTransform::Identity};
    FillComponentSpaceTransforms(Local, Parents, Global);

    ASSERT_EQ(Global.Num(), 3);
    EXPECT_TRUE(AreNear(Global[0], Local[0]));
    EXPECT_TRUE(AreNear(Global[1].GetTranslation(), FVector(0, 5, 10)));
    EXPECT_TRUE(AreNear(Global[2].GetTranslation(), FVector(0, 5, 13)));
    EXPECT_TRUE(AreNear(Global[2].TransformVector(FVector::ForwardVector), FVector(0, 0, 2)));
    const FVector Point(1, 2, 3);
    EXPECT_TRUE(AreNear(Global[2].TransformPosition(Point),
                        Global[1].TransformPosition(Local[2].TransformPosition(Point))));
}

TEST(TransformForwardKinematics, KeepsSeveralRoots)
{
    const TArray<FTransform> Local{FTransform(FVector(1, 0, 0)), FTransform(FVector(0, 2, 0)),
                                   FTransform(FVector(0, 0, 3))};
    TArray<FTransform> Global;
    FillComponentSpaceTransforms(Local, {INDEX_NONE, INDEX_NONE, 0}, Global);
    EXPECT_TRUE(AreNear(Global[1].GetTranslation(), FVector(0, 2, 0)));
    EXPECT_TRUE(AreNear(Global[2].GetTranslation(), FVector(1, 0, 3)));
}

TEST(TransformForwardKinematicsDeathTest, RejectsChildBeforeParent)
{
    const TArray<FTransform> Local{FTransform::Identity, FTransform::Identity, FTransform::Identity};
    TArray<FTransform> Global;
    EXPECT_DEATH(FillComponentSpaceTransforms(Local, {INDEX_NONE, 2, 0}, Global), "parent 2");
}
