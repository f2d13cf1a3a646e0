#include "RivetEditor/Private/Ops/RivetBakePoses.h"

#include "Engine/Animation/ReferenceSkeleton.h"

int32 FRivetBakePoses::FindPosedBone(FName BoneName) const
{
    const int32 Bone = RefSkeleton.FindBoneIndex(BoneName);
    const bool bPosed = ComponentSpacePose.IsValidIndex(Bone) && NewComponentPose.IsValidIndex(Bone);
    return bPosed ? Bone : INDEX_NONE;
}

FTransform FRivetBakePoses::PoseToNewReference(int32 Bone) const
{
    return ComponentSpacePose[Bone] * NewComponentPose[Bone].Inverse();
}

double FRivetBakePoses::ComputeBoneScaleRatio(FName BoneName) const
{
    const int32 Bone = FindPosedBone(BoneName);
    return Bone == INDEX_NONE ? 1.0 : PoseToNewReference(Bone).GetScale3D().X;
}
