#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Transform.h"
#include "Core/Name/Name.h"

class FReferenceSkeleton;

/**
 * The two poses of a bake, as the data that hangs on bones reads them: the pose that was baked and the
 * new reference pose (forward kinematics of the new local reference pose), both in component space
 * and in the bone order of the reference skeleton that names the bones.
 */
struct FRivetBakePoses
{
    const FReferenceSkeleton& RefSkeleton;
    const TArray<FTransform>& ComponentSpacePose;
    const TArray<FTransform>& NewComponentPose;

    /** The bone's index when the skeleton holds it and both poses have it; INDEX_NONE otherwise. */
    int32 FindPosedBone(FName BoneName) const;
    /**
     * ComponentSpacePose[Bone] * Inverse(NewComponentPose[Bone]): takes a transform that was relative to
     * the posed bone to one relative to the bone in its new reference pose, at the same place.
     */
    FTransform PoseToNewReference(int32 Bone) const;
    /**
     * The uniform scale the pose applied at the bone (the new reference pose carries none): the X scale of
     * PoseToNewReference. 1 for None and for bones FindPosedBone does not find.
     */
    double ComputeBoneScaleRatio(FName BoneName) const;
};
