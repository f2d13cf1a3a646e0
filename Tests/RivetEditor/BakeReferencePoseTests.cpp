#include "BakeTestSupport.h"

#include "RivetEditor/Private/Ops/RivetBakeReferencePose.h"

namespace
{
TArray<FTransform> ComponentSpace(const TArray<FTransform>& LocalPose, const TArray<int32>& Parents)
{
    TArray<FTransform> Pose;
    VT::Math::FillComponentSpaceTransforms(LocalPose, Parents, Pose);
    return Pose;
}

void ExpectSamePlacement(const FTransform& Actual, const FTransform& Expected)
{
    EXPECT_TRUE(Actual.GetTranslation().Equals(Expected.GetTranslation(), 1e-9));
    EXPECT_TRUE(Actual.GetRotation().Equals(Expected.GetRotation(), 1e-9));
}
} // namespace

// That the unscaled local pose keeps every bone placed is the bake's test (random poses of every bone).
TEST(BakeReferencePose, ZeroingParentsBeforeChildrenKeepsEveryChildInPlaceWhateverTheListOrder)
{
    // Root - A - B - C, and D below A; A and B are turned.
    const TArray<int32> Parents = {INDEX_NONE, 0, 1, 2, 1};
    const TArray<FTransform> Local = {FTransform(FVector(0, 0, 1)),
                                      Turn(FVector(0, 0, 1), 90.0, FVector(2, 0, 0)),
                                      Turn(FVector(1, 0, 0), 45.0, FVector(0, 3, 0)),
                                      FTransform(FVector(1, 1, 0)), FTransform(FVector(0, 0, 4))};
    const TArray<FTransform> Before = ComponentSpace(Local, Parents);

    for (const TArray<int32>& Listed : {TArray<int32>{1, 2}, TArray<int32>{2, 1}})
    {
        TArray<FTransform> Zeroed = Local;
        const FRivetBoneZeroing Zeroing = ZeroBoneRotations(Zeroed, Parents, Listed);

        ASSERT_EQ(Zeroing.Zeroed.Num(), 2);
        EXPECT_EQ(Zeroing.Zeroed[0].Bone, 1) << "parent first";
        EXPECT_EQ(Zeroing.Zeroed[0].Before, Local[1]);
        EXPECT_EQ(Zeroing.Zeroed[0].After, FTransform(Local[1].GetTranslation()));
        EXPECT_EQ(Zeroing.ChildrenCompensated, 3) << "B and D below A, C below B";
        for (const int32 Bone : {1, 2})
        {
            EXPECT_EQ(Zeroed[Bone].GetRotation(), FQuat::Identity);
        }
        const TArray<FTransform> After = ComponentSpace(Zeroed, Parents);
        for (const int32 Child : {3, 4})
        {
            ExpectSamePlacement(After[Child], Before[Child]);
        }
        EXPECT_TRUE(After[2].GetTranslation().Equals(Before[2].GetTranslation(), 1e-9));
    }
}
