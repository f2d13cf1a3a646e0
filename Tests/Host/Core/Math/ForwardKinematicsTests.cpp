#include "Core/Math/ForwardKinematics.h"
#include "Host/Core/Math/MathTestUtil.h"

#include <gtest/gtest.h>

using VT::Math::FillComponentSpaceTransforms;
using VT::Math::Test::AreNear;

TEST(TransformForwardKinematics, ChainsLocalPosesFromRootToTipAndKeepsASecondRoot)
{
    // The root is raised and faces +Y; the middle bone pitches the tip up. The last bone is a root too.
    const TArray<FTransform> Local{
        FTransform(FRotator(0, 90, 0), FVector(0, 0, 10)),
        FTransform(FRotator(90, 0, 0), FVector(5, 0, 0)),
        FTransform(FQuat::Identity, FVector(3, 0, 0), FVector(2, 2, 2)),
        FTransform(FVector(0, 2, 0)),
    };
    const TArray<int32> Parents{INDEX_NONE, 0, 1, INDEX_NONE};
    TArray<FTransform> Global;
    Global.Init(FTransform::Identity, 5);
    FillComponentSpaceTransforms(Local, Parents, Global);

    ASSERT_EQ(Global.Num(), 4);
    EXPECT_TRUE(AreNear(Global[0], Local[0]));
    EXPECT_TRUE(AreNear(Global[1].GetTranslation(), FVector(0, 5, 10)));
    EXPECT_TRUE(AreNear(Global[2].GetTranslation(), FVector(0, 5, 13)));
    EXPECT_TRUE(AreNear(Global[2].TransformVector(FVector::ForwardVector), FVector(0, 0, 2)));
    const FVector Point(1, 2, 3);
    EXPECT_TRUE(AreNear(Global[2].TransformPosition(Point),
                        Global[1].TransformPosition(Local[2].TransformPosition(Point))));
    EXPECT_TRUE(AreNear(Global[3], Local[3]));
}

TEST(TransformForwardKinematicsDeathTest, RejectsChildBeforeParent)
{
    const TArray<FTransform> Local{FTransform::Identity, FTransform::Identity, FTransform::Identity};
    TArray<FTransform> Global;
    EXPECT_DEATH(FillComponentSpaceTransforms(Local, {INDEX_NONE, 2, 0}, Global), "parent 2");
}
