#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Transform.h"

/**
 * A component-space pose as a local reference pose that carries no scale: each bone's transform with
 * its scale set to one, made relative to its parent's (transformed the same way). A uniform scale of
 * the pose thus survives only in the translations of the bones below the scaled one.
 */
TArray<FTransform> MakeUnscaledLocalPose(const TArray<FTransform>& ComponentSpacePose,
                                         const TArray<int32>& ParentIndices);

/** One bone whose rotation ZeroBoneRotations reset: its local transform before and after. */
struct FRivetZeroedBone
{
    int32 Bone = INDEX_NONE;
    FTransform Before;
    FTransform After;
};

/** What ZeroBoneRotations did. */
struct FRivetBoneZeroing
{
    /** The bones zeroed, in the order they were zeroed. */
    TArray<FRivetZeroedBone> Zeroed;
    /** Children compensated, once per zeroed bone they are a child of. */
    int32 ChildrenCompensated = 0;
};

/**
 * Resets the local rotation of each bone listed, keeping its translation, and compensates each of its
 * children so that the children keep their component-space placement. The bones are zeroed in
 * ascending index order, parents before children (a parent zeroed after its child would hand its
 * rotation back to the child), whatever the order of the list.
 */
FRivetBoneZeroing ZeroBoneRotations(TArray<FTransform>& LocalPose, const TArray<int32>& ParentIndices,
                                    TArray<int32> Bones);
