#pragma once

#include "Interchange/Private/AnimationImport.h"
#include "Interchange/Private/AssimpNodeGraph.h"
#include "Interchange/Private/ImportedScene.h"

/**
 * Reads every animation of the scene as bone tracks in host space, sampled at 30 keys per second
 * over its duration. Channels of nodes that are no bone (BoneOfNode gives None) are skipped; a channel
 * whose node lies below nodes that are no bones is taken into its bone's parent space. Throws
 * FInterchangeFailure on keys that are not finite or go back in time.
 */
void ReadAssimpAnimations(const aiScene& Scene, const FAssimpNodeGraph& Graph, const FBoneOfNode& BoneOfNode,
                          TArray<FImportedAnimation>& OutAnimations);
