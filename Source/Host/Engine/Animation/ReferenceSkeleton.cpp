#include "Engine/Animation/ReferenceSkeleton.h"

#include "Core/Misc/Check.h"

namespace
{
int32 FindIn(const TMap<FName, int32>& NameToIndex, FName BoneName)
{
    if (BoneName.IsNone())
    {
        return INDEX_NONE;
    }
    const int32* Found = NameToIndex.Find(BoneName);
    return Found ? *Found : INDEX_NONE;
}
} // namespace

int32 FReferenceSkeleton::FindBoneIndex(FName BoneName) const
{
    return FindIn(FinalNameToIndex, BoneName);
}

int32 FReferenceSkeleton::FindRawBoneIndex(FName BoneName) const
{
    return FindIn(RawNameToIndex, BoneName);
}

TArray<int32> FReferenceSkeleton::GetParentIndices() const
{
    TArray<int32> Parents;
    Parents.Reserve(FinalBones.Num());
    for (const FReferenceBone& Bone : FinalBones)
    {
        Parents.Add(Bone.ParentIndex);
    }
    return Parents;
}

bool FReferenceSkeleton::BoneIsChildOf(int32 ChildIndex, int32 ParentIndex) const
{
    for (int32 Index = ChildIndex; IsValidIndex(Index); Index = GetParentIndex(Index))
    {
        if (Index == ParentIndex)
        {
            return true;
        }
    }
    return false;
}

bool FReferenceSkeleton::operator==(const FReferenceSkeleton& Other) const
{
    return RawBones == Other.RawBones && RawPose == Other.RawPose;
}

void FReferenceSkeleton::RebuildFinalData()
{
    FinalBones = RawBones;
    FinalPose = RawPose;
    for (FTransform& Pose : FinalPose)
    {
        FQuat Rotation = Pose.GetRotation();
        Rotation.Normalize();
        Pose.SetRotation(Rotation);
    }
    FinalNameToIndex = RawNameToIndex;
}

FReferenceSkeletonModifier::FReferenceSkeletonModifier(FReferenceSkeleton& InRefSkeleton,
                                                       const USkeleton* InSkeleton)
    : RefSkeleton(InRefSkeleton), Skeleton(InSkeleton)
{
}

FReferenceSkeletonModifier::~FReferenceSkeletonModifier()
{
    RefSkeleton.RebuildFinalData();
}

void FReferenceSkeletonModifier::Add(const FReferenceBone& Bone, const FTransform& LocalPose)
{
    const int32 NewIndex = RefSkeleton.RawBones.Num();
    VT_CHECKF(!Bone.Name.IsNone() && RefSkeleton.FindRawBoneIndex(Bone.Name) == INDEX_NONE,
              "bone '%s' is None or already in the skeleton", *Bone.Name.ToString());
    VT_CHECKF(Bone.ParentIndex == INDEX_NONE ? NewIndex == 0
                                             : RefSkeleton.RawBones.IsValidIndex(Bone.ParentIndex),
              "bone '%s' needs a parent that comes before it (only the first bone is a root)",
              *Bone.Name.ToString());
    RefSkeleton.RawBones.Add(Bone);
    RefSkeleton.RawPose.Add(LocalPose);
    RefSkeleton.RawNameToIndex.Add(Bone.Name, NewIndex);
}

void FReferenceSkeletonModifier::UpdateRefPoseTransform(int32 BoneIndex, const FTransform& LocalPose)
{
    RefSkeleton.RawPose[BoneIndex] = LocalPose;
}

void FReferenceSkeletonModifier::Rename(int32 BoneIndex, FName NewName)
{
    VT_CHECKF(!NewName.IsNone() && RefSkeleton.FindRawBoneIndex(NewName) == INDEX_NONE,
              "bone name '%s' is None or already in the skeleton", *NewName.ToString());
    FReferenceBone& Bone = RefSkeleton.RawBones[BoneIndex];
    RefSkeleton.RawNameToIndex.Remove(Bone.Name);
    Bone.Name = NewName;
    RefSkeleton.RawNameToIndex.Add(NewName, BoneIndex);
}
