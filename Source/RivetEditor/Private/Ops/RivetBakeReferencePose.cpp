#include "RivetEditor/Private/Ops/RivetBakeReferencePose.h"

#include "Core/Misc/Check.h"

TArray<FTransform> MakeUnscaledLocalPose(const TArray<FTransform>& ComponentSpacePose,
                                         const TArray<int32>& ParentIndices)
{
    VT_CHECKF(ComponentSpacePose.Num() == ParentIndices.Num(), "%d transforms for %d parent indices",
              ComponentSpacePose.Num(), ParentIndices.Num());
    TArray<FTransform> Unscaled = ComponentSpacePose;
    for (FTransform& Transform : Unscaled)
    {
        Transform.SetScale3D(FVector::OneVector);
    }
    TArray<FTransform> LocalPose;
    LocalPose.Reserve(Unscaled.Num());
    for (int32 Bone = 0; Bone < Unscaled.Num(); ++Bone)
    {
        const int32 Parent = ParentIndices[Bone];
        LocalPose.Add(Parent == INDEX_NONE ? Unscaled[Bone] : Unscaled[Bone] * Unscaled[Parent].Inverse());
    }
    return LocalPose;
}

FRivetBoneZeroing ZeroBoneRotations(TArray<FTransform>& LocalPose, const TArray<int32>& ParentIndices,
                                    TArray<int32> Bones)
{
    VT_CHECKF(LocalPose.Num() == ParentIndices.Num(), "%d transforms for %d parent indices", LocalPose.Num(),
              ParentIndices.Num());
    Bones.Sort();
    FRivetBoneZeroing Zeroing;
    for (const int32 Bone : Bones)
    {
        const FTransform Old = LocalPose[Bone];
        const FTransform Zeroed(FQuat::Identity, Old.GetTranslation());
        for (int32 Child = Bone + 1; Child < LocalPose.Num(); ++Child)
        {
            if (ParentIndices[Child] == Bone)
            {
                LocalPose[Child] = LocalPose[Child] * Old * Zeroed.Inverse();
                ++Zeroing.ChildrenCompensated;
            }
        }
        LocalPose[Bone] = Zeroed;
        Zeroing.Zeroed.Add(FRivetZeroedBone{Bone, Old, Zeroed});
    }
    return Zeroing;
}
