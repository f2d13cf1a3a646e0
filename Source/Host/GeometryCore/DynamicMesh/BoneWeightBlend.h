#pragma once

#include "Core/Animation/BoneWeight.h"
#include "Core/Containers/Array.h"

#include <span>

/**
 * The influences of a point between two skinned vertices: each bone weighs (1 - T) times its weight in A
 * plus T times its weight in B. The MaxInfluences heaviest are kept (ties keep the lower bone index) and
 * renormalised so that their raw weights sum to FBoneWeight::MaxRawWeight; the rounding remainder goes
 * to the heaviest. At T = 0 the result is A and at T = 1 it is B, unchanged. Out is overwritten.
 */
void BlendBoneWeights(std::span<const FBoneWeight> A, std::span<const FBoneWeight> B, double T,
                      int32 MaxInfluences, TArray<FBoneWeight>& Out);
