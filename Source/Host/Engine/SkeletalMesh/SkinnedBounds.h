#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Box.h"
#include "Core/Math/Transform.h"

class FMeshDescription;

/**
 * The box around a description's vertices skinned from the reference pose to the pose (both in
 * component space, in bone order): each vertex moves by the weighted blend of its bones' moves; a vertex
 * without weights, or weighted to bones the poses lack, stays where it is. Invalid for no vertices.
 */
FBox ComputeSkinnedBox(const FMeshDescription& Description, const TArray<FTransform>& ReferencePose,
                       const TArray<FTransform>& Pose);
