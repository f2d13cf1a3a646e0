#include "Host/Engine/EngineTestUtil.h"

using namespace EngineTest;

namespace
{
FReferenceSkeleton MakeLegSkeleton()
{
    return MakeReferenceSkeleton({{"Root"},
                                  {"Pelvis", "Root", Offset(0, 0, 100)},
                                  {"ThighL", "Pelvis", Offset(10)},
                                  {"CalfL", "ThighL", Offset(0, 0, -40)},
                                  {"ThighR", "Pelvis", Offset(-10)}});
}
} // namespace

TEST(ReferenceSkeleton, ModifierChangesReachTheFinalDataWhenItEnds)
{
    FReferenceSkeleton RefSkeleton = MakeLegSkeleton();
    const FReferenceSkeleton Before = RefSkeleton;
    const FTransform Unnormalized(FQuat(0, 0, 2, 0), FVector(5, 6, 7));
    {
        FReferenceSkeletonModifier Modifier(RefSkeleton, nullptr);
        Modifier.Add(FReferenceBone{"FootL", 3}, Offset(0, 0, -45));
        Modifier.UpdateRefPoseTransform(3, Unnormalized);
        Modifier.Rename(2, "LeftThigh");
        EXPECT_EQ(Modifier.FindBoneIndex("LeftThigh"), 2);
        EXPECT_EQ(RefSkeleton.GetRawRefBonePose()[3], Unnormalized);
        EXPECT_EQ(RefSkeleton.GetRefBoneInfo(), Before.GetRefBoneInfo()) << "final data waits for the end";
        EXPECT_EQ(RefSkeleton.GetRefBonePose(), Before.GetRefBonePose());
        EXPECT_EQ(RefSkeleton.FindBoneIndex("ThighL"), 2);
    }
    TArray<FReferenceBone> Bones = Before.GetRefBoneInfo();
    Bones[2].Name = "LeftThigh";
    Bones.Add(FReferenceBone{"FootL", 3});
    TArray<FTransform> Pose = Before.GetRefBonePose();
    Pose[3] = FTransform(FQuat(0, 0, 1, 0), FVector(5, 6, 7));
    Pose.Add(Offset(0, 0, -45));
    EXPECT_EQ(RefSkeleton.GetRefBoneInfo(), Bones);
    EXPECT_EQ(RefSkeleton.GetRefBonePose(), Pose) << "final rotations are normalized";
    EXPECT_EQ(RefSkeleton.GetRawRefBonePose()[3], Unnormalized) << "raw data keeps what was given";
    EXPECT_EQ(RefSkeleton.FindBoneIndex("LeftThigh"), 2);
    EXPECT_EQ(RefSkeleton.FindBoneIndex("ThighL"), INDEX_NONE);
    EXPECT_EQ(RefSkeleton.FindBoneIndex("footl"), 5) << "names compare without regard to case";
}

TEST(ReferenceSkeleton, LookupsAnswerIndexNoneForNoneAndUnknownNames)
{
    const FReferenceSkeleton RefSkeleton = MakeLegSkeleton();
    const FReferenceSkeleton Empty;
    for (const FReferenceSkeleton* Skeleton : {&RefSkeleton, &Empty})
    {
        EXPECT_EQ(Skeleton->FindBoneIndex(NAME_None), INDEX_NONE);
        EXPECT_EQ(Skeleton->FindRawBoneIndex(NAME_None), INDEX_NONE);
        EXPECT_EQ(Skeleton->FindBoneIndex("Tail"), INDEX_NONE);
        EXPECT_EQ(Skeleton->FindRawBoneIndex("Tail"), INDEX_NONE);
    }
}

TEST(ReferenceSkeleton, EqualityComparesBonesAndRawPoses)
{
    EXPECT_EQ(MakeLegSkeleton(), MakeLegSkeleton());
    FReferenceSkeleton OtherPose = MakeLegSkeleton();
    {
        FReferenceSkeletonModifier Modifier(OtherPose, nullptr);
        Modifier.UpdateRefPoseTransform(1, Offset(0, 0, 101));
        EXPECT_FALSE(OtherPose == MakeLegSkeleton()) << "raw data differs while the final data is equal";
    }
    const FReferenceSkeleton OtherParent = MakeReferenceSkeleton({{"Root"},
                                                                  {"Pelvis", "Root", Offset(0, 0, 100)},
                                                                  {"ThighL", "Pelvis", Offset(10)},
                                                                  {"CalfL", "ThighL", Offset(0, 0, -40)},
                                                                  {"ThighR", "Root", Offset(-10)}});
    EXPECT_FALSE(OtherParent == MakeLegSkeleton());
}
