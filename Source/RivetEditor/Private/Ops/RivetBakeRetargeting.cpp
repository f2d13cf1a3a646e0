#include "RivetEditor/Private/Ops/RivetBakeRetargeting.h"

#include "Engine/Animation/Skeleton.h"

int32 SwitchSkeletonToScaledRetargeting(USkeleton* Skeleton)
{
    if (!Skeleton || Skeleton->GetReferenceSkeleton().GetRawBoneNum() == 0)
    {
        return 0;
    }
    Skeleton->Modify(true);
    const TArray<FBoneTreeNode>& BoneTree = Skeleton->GetBoneTree();
    int32 Switched = 0;
    for (int32 Bone = 0; Bone < Skeleton->GetReferenceSkeleton().GetRawBoneNum(); ++Bone)
    {
        if (!BoneTree.IsValidIndex(Bone) ||
            BoneTree[Bone].TranslationRetargetingMode != EBoneTranslationRetargetingMode::AnimationScaled)
        {
            Skeleton->SetBoneTranslationRetargetingMode(Bone,
                                                        EBoneTranslationRetargetingMode::AnimationScaled,
                                                        /*bChildrenToo=*/false);
            ++Switched;
        }
    }
    if (Switched > 0)
    {
        Skeleton->MarkPackageDirty();
    }
    return Switched;
}
