#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Transform.h"
#include "Core/Name/Name.h"

class UAnimSequence;
class USkeleton;

/**
 * The root's move from its reference transform to its pose, in rotation and translation only: the
 * pose's scale is taken out before the product, so that a root scaled in place moves no animation.
 */
FTransform ComputeRootDelta(const FTransform& RootReference, const FTransform& RootPose);

/**
 * Applies the root delta to every animation sequence of the skeleton that the asset registry lists
 * (BakeRootIntoAnimation) and answers how many changed, appending their names. Nothing for a null
 * skeleton or one in the transient package.
 */
int32 BakeRootIntoAnimations(USkeleton* Skeleton, FName RootBoneName, const FTransform& RootDelta,
                             TArray<FString>& OutAnimationNames);

/**
 * Sets every key K of the sequence's root track to K * RootDelta. A sequence without a root track gets
 * one, from the root's reference transform in the sequence's skeleton. The sequence and its data are
 * recorded in the open transaction first. Answers the number of keys written, 0 when nothing was.
 */
int32 BakeRootIntoAnimation(UAnimSequence* Sequence, FName RootBoneName, const FTransform& RootDelta);
