#include "RivetEditor/Private/Ops/RivetMeshCommit.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"

void CommitLOD0(USkeletalMesh& Mesh, bool bPostEditChange)
{
    FCommitMeshDescriptionParams Params;
    Params.bMarkPackageDirty = true;
    Params.bRebuildImportedModel = true;
    Params.bRebuildMorphTargets = true;
    Params.bUpdateImportedBounds = true;
    Params.bInvalidateDerivedData = true;
    Params.bRecomputeNormals = false;
    Mesh.CommitMeshDescription(0, Params);
    if (bPostEditChange)
    {
        Mesh.PostEditChange();
    }
}
