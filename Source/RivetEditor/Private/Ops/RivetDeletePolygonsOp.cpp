#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditor/Private/RivetEditorLog.h"

namespace
{
/** The distinct live triangles of the list, in order of first appearance. */
TArray<FTriangleID> CollectLiveTriangles(const FMeshDescription& Mesh, const TArray<FTriangleID>& TriangleIDs)
{
    TArray<uint8> bTaken;
    bTaken.Init(0, Mesh.Triangles().GetArraySize());
    TArray<FTriangleID> Triangles;
    Triangles.Reserve(std::min(TriangleIDs.Num(), Mesh.Triangles().Num()));
    for (const FTriangleID Triangle : TriangleIDs)
    {
        if (Mesh.Triangles().IsValid(Triangle) && !bTaken[Triangle.GetValue()])
        {
            bTaken[Triangle.GetValue()] = 1;
            Triangles.Add(Triangle);
        }
    }
    return Triangles;
}

/** What deleting the triangles and their unused elements took with it. */
struct FDeletionCounts
{
    int32 Vertices = 0;
    int32 VertexInstances = 0;
};

FDeletionCounts DeleteTrianglesAndUnusedElements(FMeshDescription& Mesh, const TArray<FTriangleID>& Triangles)
{
    Mesh.ResetIndexers();
    Mesh.BuildIndexers();

    TArray<FEdgeID> OrphanedEdges;
    TArray<FVertexInstanceID> OrphanedInstances;
    TArray<FPolygonGroupID> OrphanedGroups; // kept: a slot's section outlives its triangles
    for (const FTriangleID Triangle : Triangles)
    {
        Mesh.DeleteTriangle(Triangle, &OrphanedEdges, &OrphanedInstances, &OrphanedGroups);
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
    int32 DeletedVertices = 0;
    for (const FVertexID Vertex : OrphanedVertices)
    {
        if (Mesh.Vertices().IsValid(Vertex) && Mesh.IsVertexOrphaned(Vertex))
        {
            Mesh.DeleteVertex(Vertex);
            ++DeletedVertices;
        }
    }
    return {DeletedVertices, OrphanedInstances.Num()};
}
} // namespace

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

    Mesh->ModifyMeshDescription(0, true);
    const FDeletionCounts Deleted = DeleteTrianglesAndUnusedElements(*Description, Triangles);
    Description->Compact();
    CommitLOD0(*Mesh, bPostEditChange);

    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Deleted: %d triangles, %d vertices, %d vertex instances",
           Triangles.Num(), Deleted.Vertices, Deleted.VertexInstances);
    return Triangles.Num();
}
