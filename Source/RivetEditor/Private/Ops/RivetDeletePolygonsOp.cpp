#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/Ops/RivetLiveTriangles.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditorLog.h"

FRivetTriangleDeletion DeleteTrianglesAndCompact(FMeshDescription& Mesh,
                                                 const TArray<FTriangleID>& TriangleIDs)
{
    Mesh.ResetIndexers();
    Mesh.BuildIndexers();

    FRivetTriangleDeletion Deleted;
    TArray<FEdgeID> OrphanedEdges;
    TArray<FVertexInstanceID> OrphanedInstances;
    TArray<FPolygonGroupID> OrphanedGroups; // kept: a slot's section outlives its triangles
    for (const FTriangleID Triangle : TriangleIDs)
    {
        if (Mesh.Triangles().IsValid(Triangle))
        {
            Mesh.DeleteTriangle(Triangle, &OrphanedEdges, &OrphanedInstances, &OrphanedGroups);
            ++Deleted.Triangles;
        }
    }

    TArray<FVertexID> OrphanedVertices;
    for (const FVertexInstanceID Instance : OrphanedInstances)
    {
        if (Mesh.VertexInstances().IsValid(Instance))
        {
            Mesh.DeleteVertexInstance(Instance, &OrphanedVertices);
        }
    }
    for (const FEdgeID Edge : OrphanedEdges)
    {
        if (Mesh.Edges().IsValid(Edge))
        {
            Mesh.DeleteEdge(Edge, &OrphanedVertices);
        }
    }
    // A vertex is reported once by its last instance and once by its last edge; it goes once.
    for (const FVertexID Vertex : OrphanedVertices)
    {
        if (Mesh.Vertices().IsValid(Vertex) && Mesh.IsVertexOrphaned(Vertex))
        {
            Mesh.DeleteVertex(Vertex);
            ++Deleted.Vertices;
        }
    }
    Deleted.VertexInstances = OrphanedInstances.Num();
    Mesh.Compact();
    return Deleted;
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
