#pragma once

#include "Core/CoreTypes.h"

class USkeletalMesh;

/**
 * Ends an edit of a LOD's description: commits it with the parameters every operation uses (package
 * marked dirty, imported model, morph targets, bounds and derived-data key rebuilt, normals kept as
 * edited).
 */
void CommitLOD(USkeletalMesh& Mesh, int32 LODIndex);

/** Commits LOD 0 as CommitLOD does, then runs the mesh's post-edit-change when asked. */
void CommitLOD0(USkeletalMesh& Mesh, bool bPostEditChange);
