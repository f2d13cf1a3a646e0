#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Rotator.h"
#include "Core/Math/Transform.h"
#include "Core/Math/Vector.h"

#include <span>

class FReferenceSkeleton;
struct FBoneWeight;

/**
 * A bone moved by hand, in the bone's own space on top of its reference pose: turned by Rotation
 * (pitch, yaw, roll in degrees), scaled by Scale, then moved by Location.
 */
struct FBoneEdit
{
    FString Bone;
    FRotator Rotation;
    FVector Location;
    FVector Scale = FVector(1, 1, 1);
};

/**
 * Reads "NAME:rotation=P,Y,R", "NAME:location=X,Y,Z", "NAME:scale=S" or "NAME:scale=X,Y,Z"; the parts
 * combine ("Root:scale=1.1:rotation=0,180,0"). A bone name may itself hold colons. False with a message
 * quoting the text when it is not such an edit.
 */
bool ParseBoneEdit(const FString& Text, FBoneEdit& Out, FString& OutError);

/** A bone's component-space transforms in the reference pose and in the edited pose. */
struct FBoneMove
{
    FTransform Reference;
    FTransform Posed;
};

/**
 * Every bone's move from its reference pose to the pose with the edits applied (children follow their
 * parents). False with a message when an edit names no bone of the skeleton.
 */
bool ComputeBoneMoves(const FReferenceSkeleton& Skeleton, const TArray<FBoneEdit>& Edits,
                      TArray<FBoneMove>& OutMoves, FString& OutError);

/**
 * Linear blend skinning of one position: the weighted sum of where each influencing bone takes it.
 * A position without influences (or whose influences name no bone) stays where it is.
 */
FVector SkinPosition(const FVector& Position, std::span<const FBoneWeight> Weights,
                     const TArray<FBoneMove>& Moves);
