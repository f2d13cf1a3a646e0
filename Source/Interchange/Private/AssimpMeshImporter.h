#pragma once

#include "Interchange/Private/AssimpNodeGraph.h"
#include "Interchange/Private/AssimpSkeletonImporter.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/SourceMesh.h"

/**
 * Reads every mesh the scene's nodes hold into one source mesh in host space. Skinned meshes stay in
 * their bind space; other meshes are placed by their node and bound wholly to its nearest bone
 * (Binding gives each node's and each mesh bone's bone). Each material becomes a polygon group and a slot,
 * added to OutSlots. Throws FInterchangeFailure on bad data and when no node holds a mesh.
 */
void ReadAssimpMeshes(const aiScene& Scene, const FAssimpNodeGraph& Graph,
                      const FAssimpSkeletonBinding& Binding, FSourceMesh& OutMesh,
                      TArray<FImportedSlot>& OutSlots);
