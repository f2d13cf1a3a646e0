#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"
#include "Core/Math/Transform.h"

namespace VT::Math
{
/**
 * Poses a skeleton: each bone's component-space transform is its local transform followed by its
 * parent's component-space transform (L[i] * G[Parent]), or the local transform itself for a root
 * (parent INDEX_NONE). Parents must come before their children.
 */
void FillComponentSpaceTransforms(const TArray<FTransform>& LocalPose, const TArray<int32>& ParentIndices,
                                  TArray<FTransform>& OutComponentSpace);
} // namespace VT::Math
