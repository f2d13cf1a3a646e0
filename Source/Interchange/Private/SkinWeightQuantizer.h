#pragma once

#include "Core/Animation/BoneWeight.h"
#include "Core/Containers/Array.h"
#include "Interchange/Private/SourceMesh.h"

#include <span>

/**
 * Turns a vertex's file influences into 16-bit weights that sum to exactly 65535: influences of
 * the same bone are added up, the weights are normalised and rounded by largest remainder, and
 * influences that round to nothing are dropped. A vertex without any weight keeps no influences.
 * Influences keep their file order.
 */
void QuantizeInfluences(std::span<const FSourceInfluence> Influences, TArray<FBoneWeight>& OutWeights);

/**
 * The at most MaxCount heaviest influences (ties keep the earlier one), renormalised so that they
 * still sum to 65535, in their original order. Answers false when nothing had to be dropped.
 */
bool KeepHeaviestInfluences(std::span<const FBoneWeight> Weights, int32 MaxCount,
                            TArray<FBoneWeight>& OutWeights);
