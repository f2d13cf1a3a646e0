#pragma once

class USkeletalMesh;

/**
 * Keeps only the position deltas of the mesh's morph targets: every LOD description loses the morphs'
 * normal deltas and is committed again. The package is left clean and nothing is recorded for undo.
 */
void DropMorphNormalDeltas(USkeletalMesh& Mesh);
