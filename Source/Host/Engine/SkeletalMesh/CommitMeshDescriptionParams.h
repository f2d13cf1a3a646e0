#pragma once

/**
 * What USkeletalMesh::CommitMeshDescription does besides storing the description. Editing tools
 * set the first five flags and clear the sixth.
 */
struct FCommitMeshDescriptionParams
{
    /** Marks the mesh's package as needing a save. */
    bool bMarkPackageDirty = true;
    /** Rebuilds the LOD's imported model (sections, render vertices, index buffer) from the description. */
    bool bRebuildImportedModel = true;
    /** Rebuilds every morph target's deltas for the LOD from the description's morph attributes. */
    bool bRebuildMorphTargets = true;
    /** Recomputes the imported bounds from the vertex positions (LOD 0 only). */
    bool bUpdateImportedBounds = true;
    /**
     * Gives the mesh a new derived-data key, so the render data counts as out of date until the next
     * post-edit-change rebuilds it.
     */
    bool bInvalidateDerivedData = true;
    /**
     * Replaces the description's normals by ones computed from the triangles (and turns the tangents
     * to stay perpendicular to them) before anything is built. Tools that edit normals clear it.
     */
    bool bRecomputeNormals = false;
};
