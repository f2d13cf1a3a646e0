#include "Engine/Animation/Skeleton.h"

#include "Core/Logging/LogMacros.h"
#include "Engine/Animation/LogAnimation.h"

namespace
{
FName GetParentName(const FReferenceSkeleton& RefSkeleton, int32 BoneIndex)
{
    const int32 ParentIndex = RefSkeleton.GetParentIndex(BoneIndex);
    return ParentIndex == INDEX_NONE ? NAME_None : RefSkeleton.GetBoneName(ParentIndex);
}
} // namespace

bool USkeleton::MergeBonesFrom(const FReferenceSkeleton& MeshSkeleton)
{
    TArray<FNewBone> NewBones;
    if (!CollectNewBones(MeshSkeleton, NewBones))
    {
        return false;
    }
    if (!NewBones.IsEmpty())
    {
        Modify();
        AddBones(NewBones);
    }
    return true;
}

bool USkeleton::CollectNewBones(const FReferenceSkeleton& MeshSkeleton, TArray<FNewBone>& OutNewBones) const
{
    for (int32 MeshIndex = 0; MeshIndex < MeshSkeleton.GetNum(); ++MeshIndex)
    {
        const FNewBone Bone{MeshSkeleton.GetBoneName(MeshIndex), GetParentName(MeshSkeleton, MeshIndex),
                            MeshSkeleton.GetRefBonePose()[MeshIndex]};
        const int32 OwnIndex = ReferenceSkeleton.FindBoneIndex(Bone.Name);
        if (OwnIndex != INDEX_NONE)
        {
            const FName OwnParentName = GetParentName(ReferenceSkeleton, OwnIndex);
            if (OwnParentName != Bone.ParentName)
            {
                VT_LOG(LogAnimation, Warning,
                       "Cannot merge bones into skeleton '%s': bone '%s' has parent '%s' in the mesh but "
                       "'%s' in the skeleton",
                       *GetName(), Bone.Name.GetPlainName(), Bone.ParentName.GetPlainName(),
                       OwnParentName.GetPlainName());
                return false;
            }
        }
        else if (CanParentNewBone(Bone, OutNewBones))
        {
            OutNewBones.Add(Bone);
        }
        else
        {
            VT_LOG(LogAnimation, Warning,
                   "Cannot merge bones into skeleton '%s': new bone '%s' has parent '%s', which the "
                   "skeleton does not hold",
                   *GetName(), Bone.Name.GetPlainName(), Bone.ParentName.GetPlainName());
            return false;
        }
    }
    return true;
}

bool USkeleton::CanParentNewBone(const FNewBone& Bone, const TArray<FNewBone>& EarlierNewBones) const
{
    if (Bone.ParentName.IsNone())
    {
        return ReferenceSkeleton.GetRawBoneNum() == 0 && EarlierNewBones.IsEmpty();
    }
    return ReferenceSkeleton.FindBoneIndex(Bone.ParentName) != INDEX_NONE ||
           EarlierNewBones.ContainsByPredicate([&Bone](const FNewBone& Earlier)
                                               { return Earlier.Name == Bone.ParentName; });
}

void USkeleton::AddBones(const TArray<FNewBone>& NewBones)
{
    const int32 FirstNewIndex = ReferenceSkeleton.GetRawBoneNum();
    {
        FReferenceSkeletonModifier Modifier(ReferenceSkeleton, this);
        for (const FNewBone& Bone : NewBones)
        {
            const int32 ParentIndex =
                Bone.ParentName.IsNone() ? INDEX_NONE : Modifier.FindBoneIndex(Bone.ParentName);
            Modifier.Add(FReferenceBone{Bone.Name, ParentIndex}, Bone.LocalPose);
        }
    }
    BoneTree.SetNum(ReferenceSkeleton.GetRawBoneNum());
    for (TPair<FName, TArray<FTransform>>& Source : RetargetSources)
    {
        for (int32 BoneIndex = FirstNewIndex; BoneIndex < ReferenceSkeleton.GetNum(); ++BoneIndex)
        {
            Source.Value.Add(ReferenceSkeleton.GetRefBonePose()[BoneIndex]);
        }
    }
}

void USkeleton::SetBoneTranslationRetargetingMode(int32 BoneIndex, EBoneTranslationRetargetingMode Mode,
                                                  bool bChildrenToo)
{
    if (!BoneTree.IsValidIndex(BoneIndex))
    {
        VT_LOG(LogAnimation, Warning,
               "Skeleton '%s' has no bone %d (of %d) to set the translation retargeting mode of", *GetName(),
               BoneIndex, BoneTree.Num());
        return;
    }
    Modify();
    BoneTree[BoneIndex].TranslationRetargetingMode = Mode;
    if (!bChildrenToo)
    {
        return;
    }
    // Children come after their parents, so every descendant follows the bone.
    for (int32 Index = BoneIndex + 1; Index < BoneTree.Num(); ++Index)
    {
        if (ReferenceSkeleton.BoneIsChildOf(Index, BoneIndex))
        {
            BoneTree[Index].TranslationRetargetingMode = Mode;
        }
    }
}

EBoneTranslationRetargetingMode USkeleton::GetBoneTranslationRetargetingMode(int32 BoneIndex) const
{
    return BoneTree.IsValidIndex(BoneIndex) ? BoneTree[BoneIndex].TranslationRetargetingMode
                                            : EBoneTranslationRetargetingMode::Animation;
}

USkeletalMeshSocket* USkeleton::FindSocket(FName SocketName) const
{
    if (SocketName.IsNone())
    {
        return nullptr;
    }
    const TObjectPtr<USkeletalMeshSocket>* Found =
        Sockets.FindByPredicate([SocketName](const TObjectPtr<USkeletalMeshSocket>& Socket)
                                { return Socket && Socket->SocketName == SocketName; });
    return Found ? Found->Get() : nullptr;
}

const TArray<FTransform>& USkeleton::GetRefLocalPoses(FName RetargetSource) const
{
    const TArray<FTransform>* SourcePoses =
        RetargetSource.IsNone() ? nullptr : RetargetSources.Find(RetargetSource);
    return SourcePoses ? *SourcePoses : ReferenceSkeleton.GetRefBonePose();
}

bool USkeleton::AddRetargetSource(FName SourceName, const TArray<FTransform>& LocalPoses)
{
    if (SourceName.IsNone() || LocalPoses.Num() != ReferenceSkeleton.GetRawBoneNum())
    {
        VT_LOG(LogAnimation, Warning,
               "Skeleton '%s' refused retarget source '%s': it needs a name and one pose per bone "
               "(%d poses for %d bones)",
               *GetName(), SourceName.GetPlainName(), LocalPoses.Num(), ReferenceSkeleton.GetRawBoneNum());
        return false;
    }
    Modify();
    RetargetSources.Add(SourceName, LocalPoses);
    return true;
}
