#include "AnimGraph/Animation/AnimPreviewInstance.h"

#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/Components/SkeletalMeshComponent.h"

FAnimNode_ModifyBone& UAnimPreviewInstance::ModifyBone(FName BoneName, bool bCurveController)
{
    TArray<FAnimNode_ModifyBone>& Controllers = ControllersOf(bCurveController);
    for (FAnimNode_ModifyBone& Controller : Controllers)
    {
        if (Controller.BoneToModify == BoneName)
        {
            return Controller;
        }
    }
    FAnimNode_ModifyBone& Made = Controllers.Emplace_GetRef();
    Made.BoneToModify = BoneName;
    return Made;
}

const FAnimNode_ModifyBone* UAnimPreviewInstance::FindModifiedBone(FName BoneName, bool bCurveController) const
{
    for (const FAnimNode_ModifyBone& Controller : ControllersOf(bCurveController))
    {
        if (Controller.BoneToModify == BoneName)
        {
            return &Controller;
        }
    }
    return nullptr;
}

void UAnimPreviewInstance::ResetModifiedBone(bool bCurveController)
{
    ControllersOf(bCurveController).Reset();
}

void UAnimPreviewInstance::EvaluateComponentSpacePose(const FReferenceSkeleton& Skeleton,
                                                      const TArray<FTransform>& LocalPose,
                                                      const FTransform& ComponentToWorld,
                                                      TArray<FTransform>& OutComponentSpace) const
{
    const TArray<int32>& Parents = Skeleton.GetParentIndices();
    // Per bone, its controllers' positions in the two lists (by hand, then by curves), or none.
    TArray<int32> HandEdit;
    TArray<int32> CurveEdit;
    HandEdit.Init(INDEX_NONE, LocalPose.Num());
    CurveEdit.Init(INDEX_NONE, LocalPose.Num());
    const auto MapControllers = [&Skeleton, &LocalPose](const TArray<FAnimNode_ModifyBone>& Controllers,
                                                        TArray<int32>& OutByBone)
    {
        for (int32 Index = 0; Index < Controllers.Num(); ++Index)
        {
            const int32 Bone = Skeleton.FindBoneIndex(Controllers[Index].BoneToModify);
            if (Bone >= 0 && Bone < LocalPose.Num())
            {
                OutByBone[Bone] = Index;
            }
        }
    };
    MapControllers(BoneControllers, HandEdit);
    MapControllers(CurveBoneControllers, CurveEdit);

    OutComponentSpace.SetNum(LocalPose.Num());
    for (int32 Bone = 0; Bone < LocalPose.Num(); ++Bone)
    {
        const int32 Parent = Parents[Bone];
        const FTransform ParentSpace = Parent == INDEX_NONE ? FTransform::Identity : OutComponentSpace[Parent];
        FTransform Posed = LocalPose[Bone] * ParentSpace;
        if (HandEdit[Bone] != INDEX_NONE)
        {
            Posed = BoneControllers[HandEdit[Bone]].Apply(Posed, ParentSpace, ComponentToWorld);
        }
        if (CurveEdit[Bone] != INDEX_NONE)
        {
            Posed = CurveBoneControllers[CurveEdit[Bone]].Apply(Posed, ParentSpace, ComponentToWorld);
        }
        OutComponentSpace[Bone] = Posed;
    }
}

void UAnimPreviewInstance::PostEditUndo()
{
    Super::PostEditUndo();
    if (USkeletalMeshComponent* Component = Cast<USkeletalMeshComponent>(GetOuter()))
    {
        Component->RefreshBoneTransforms();
        Component->MarkRenderStateDirty();
    }
}
