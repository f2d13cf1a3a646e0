#include "RivetEditor/Private/Ops/RivetMeshCommit.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"

void CommitLOD(USkeletalMesh& Mesh, int32 LODIndex)
{
    FCommitMeshDescriptionParams Params;
    Params.bMarkPackageDirty = true;
    Params.bRebuildImportedModel = true;
    Params.bRebuildMorphTargets = true;
    Params.bUpdateImportedBounds = true;
    Params.bInvalidateDerivedData = true;
    Params.bRecomputeNormals = false;
    Mesh.CommitMeshDescription(LODIndex, Params);
}

void CommitLOD0(USkeletalMesh& Mesh, bool bPostEditChange)
{
    CommitLOD(Mesh, 0);
    if (bPostEditChange)
    {
        Mesh.PostEditChange();
    }
}
