#pragma once

#include "Core/Containers/Array.h"
#include "Interchange/Private/SourceMesh.h"

/**
 * A mesh without skin weights moves with one bone: the bone of its node or of the nearest node above
 * it that became a bone, else the root bone. Parents and BoneOfNode give each node's parent and bone
 * (INDEX_NONE for roots and for nodes that are no bone); Node may be INDEX_NONE (a mesh no node
 * places).
 */
int32 FindRigidBone(const TArray<int32>& Parents, const TArray<int32>& BoneOfNode, int32 Node);

/** Binds the Count file vertices from Start wholly to Bone, appending their influences. */
void AddRigidInfluences(FSourceMesh& Mesh, int32 Start, int32 Count, int32 Bone);
