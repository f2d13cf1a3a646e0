#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Transform.h"
#include "Core/Math/Vector.h"
#include "RivetCli/Session/BoneEdit.h"

#include <span>

class FReferenceSkeleton;
struct FBoneWeight;

/** A bone's component-space transforms in the reference pose and in the edited pose. */
struct FBoneMove
{
    FTransform Reference;
    FTransform Posed;
};

/**
 * Every bone's move from its reference pose to the pose with the edits applied as the Skeleton Tree
 * applies them (each part given replaces the bone's local value; children follow their parents). False
 * with a message when an edit names no bone of the skeleton.
 */
bool ComputeBoneMoves(const FReferenceSkeleton& Skeleton, const TArray<FBoneEditRequest>& Edits,
                      TArray<FBoneMove>& OutMoves, FString& OutError);

/**
 * Linear blend skinning of one position: the weighted sum of where each influencing bone takes it.
 * A position without influences (or whose influences name no bone) stays where it is.
 */
FVector SkinPosition(const FVector& Position, std::span<const FBoneWeight> Weights,
                     const TArray<FBoneMove>& Moves);
