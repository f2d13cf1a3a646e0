#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/Ops/RivetLiveTriangles.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditorLog.h"

FRivetTriangleDeletion DeleteTrianglesAndCompact(FMeshDescription& Mesh,
                                                 const TArray<FTriangleID>& TriangleIDs)
{
    const FMeshDeletionCounts Counts = Mesh.DeleteTrianglesAndOrphans(TriangleIDs);
    Mesh.Compact();
    return {Counts.Triangles, Counts.Vertices, Counts.OrphanedVertexInstances};
}

int32 DeletePolygons(USkeletalMesh* Mesh, const TArray<FTriangleID>& TriangleIDs, bool bPostEditChange)
{
    if (!Mesh || TriangleIDs.IsEmpty())
    {
        return 0;
    }
    FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return 0;
    }
    const TArray<FTriangleID> Triangles = CollectLiveTriangles(*Description, TriangleIDs);
    if (Triangles.IsEmpty())
    {
        return 0;
    }
    if (Triangles.Num() >= Description->Triangles().Num())
    {
        VT_LOG(LogRivetEditor, Warning, "[RivetEditor] Delete refused: all triangles are selected (%d)",
               Triangles.Num());
        return 0;
    }

    Mesh->ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    const FRivetTriangleDeletion Deleted = DeleteTrianglesAndCompact(*Description, Triangles);
    CommitLOD0(*Mesh, bPostEditChange);

    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Deleted: %d triangles, %d vertices, %d vertex instances",
           Deleted.Triangles, Deleted.Vertices, Deleted.VertexInstances);
    return Deleted.Triangles;
}
