#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"

#include <optional>

class UAnimPreviewInstance;

/**
 * A bone edited by hand, as the Skeleton Tree edits it: the parts given replace the bone's local
 * (parent-relative) location, rotation and scale; parts not given stay as the bone's controller has them.
 */
struct FBoneEditRequest
{
    FString Bone;
    std::optional<FVector> Location;
    std::optional<FRotator> Rotation;
    std::optional<FVector> Scale;
};

/**
 * Reads "NAME:PART[:PART...]" where a part is "location=X,Y,Z", "rotation=P,Y,R" (pitch, yaw, roll in
 * degrees) or "scale=S" or "scale=X,Y,Z"; parts may also be separated by blanks. False with a reason on
 * anything else.
 */
bool ParseBoneEdit(const FString& Text, FBoneEditRequest& OutEdit, FString& OutError);

/** Sets the bone's controller on the preview instance from the request, as the Skeleton Tree does. */
void ApplyBoneEdit(UAnimPreviewInstance& Instance, const FBoneEditRequest& Edit);
