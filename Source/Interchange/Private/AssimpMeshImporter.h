#pragma once

#include "Interchange/Private/AssimpNodeGraph.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/SourceMesh.h"

/**
 * Reads every mesh the scene's nodes hold into one source mesh in host space. Skinned meshes stay in
 * their bind space; other meshes are placed by their node and bound wholly to its nearest bone
 * (BoneOfNode gives each node's bone). Each material becomes a polygon group and a slot, added to
 * OutSlots. Throws FInterchangeFailure on bad data and when no node holds a mesh.
 */
void ReadAssimpMeshes(const aiScene& Scene, const FAssimpNodeGraph& Graph, const TArray<int32>& BoneOfNode,
                      FSourceMesh& OutMesh, TArray<FImportedSlot>& OutSlots);
