#pragma once

class USkeletalMesh;

/**
 * Ends an edit of LOD 0's description: commits it with the parameters every operation uses (package
 * marked dirty, imported model, morph targets, bounds and derived-data key rebuilt, normals kept as
 * edited), then runs the mesh's post-edit-change when asked.
 */
void CommitLOD0(USkeletalMesh& Mesh, bool bPostEditChange);
