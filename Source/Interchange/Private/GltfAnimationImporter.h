#pragma once

#include "Interchange/Private/AnimationImport.h"
#include "Interchange/Private/GltfNodeGraph.h"
#include "Interchange/Private/ImportedScene.h"

#include <tiny_gltf.h>

/**
 * Reads every animation of a document as evenly keyed bone tracks in host space: at the rate and
 * key count this exporter recorded, or at 30 keys per second over the animation's time range. Keys
 * that fall on a file key take its value exactly; others are interpolated as the sampler says (step,
 * linear with spherical rotation, cubic spline). Channels of nodes that are no bone and morph-weight
 * channels are skipped with a warning. The tracks follow the order of the bones' first channels; each
 * animation's name and channels as the file gives them go to OutLayouts. Throws FInterchangeFailure on
 * bad data.
 */
void ReadGltfAnimations(const tinygltf::Model& Model, const FGltfNodeGraph& Graph,
                        const FBoneOfNode& BoneOfNode, TArray<FImportedAnimation>& OutAnimations,
                        TArray<FImportedGltfLayout::FAnimation>& OutLayouts, TArray<FString>& OutWarnings);
