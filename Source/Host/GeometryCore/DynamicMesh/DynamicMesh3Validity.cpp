#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"

bool FDynamicMesh3::CheckValidity(TArray<FString>* OutProblems) const
{
    FMeshValidityReport Report(OutProblems);
    CheckStorage(Report);
    // Every later check, the attributes' too, reads the arrays by ID.
    if (!Report.IsValid())
    {
        return false;
    }
    CheckTriangles(Report);
    CheckEdges(Report);
    CheckVertices(Report);
    if (AttributeSet &&
        Report.Check(AttributeSet->GetParentMesh() == this, "the attributes belong to another mesh"))
    {
        AttributeSet->CheckValidity(Report);
    }
    return Report.IsValid();
}

/** Array sizes and free lists; the other checks index by ID and rely on these. */
void FDynamicMesh3::CheckStorage(FMeshValidityReport& Report) const
{
    Report.Check(Vertices.Num() == MaxVertexID(), "%d positions for %d vertex IDs", Vertices.Num(),
                 MaxVertexID());
    Report.Check(Triangles.Num() == MaxTriangleID() && TriangleEdges.Num() == MaxTriangleID(),
                 "%d triangles and %d edge triples for %d triangle IDs", Triangles.Num(), TriangleEdges.Num(),
                 MaxTriangleID());
    Report.Check(!bHasTriangleGroups || TriangleGroups.Num() == MaxTriangleID(),
                 "%d triangle groups for %d triangle IDs", TriangleGroups.Num(), MaxTriangleID());
    Report.Check(Edges.Num() == MaxEdgeID(), "%d edges for %d edge IDs", Edges.Num(), MaxEdgeID());
    Report.Check(VertexRefCounts.IsConsistent(), "the vertex free list disagrees with the counts");
    Report.Check(TriangleRefCounts.IsConsistent(), "the triangle free list disagrees with the counts");
    Report.Check(EdgeRefCounts.IsConsistent(), "the edge free list disagrees with the counts");
}

void FDynamicMesh3::CheckTriangles(FMeshValidityReport& Report) const
{
    for (const int32 TriangleID : TriangleIndices())
    {
        const FIndex3i Tri = Triangles[TriangleID];
        Report.Check(TriangleRefCounts.GetCount(TriangleID) == 1, "triangle %d has count %d", TriangleID,
                     TriangleRefCounts.GetCount(TriangleID));
        if (!Report.Check(AreValidTriangleVertices(Tri), "triangle %d has corners %d %d %d", TriangleID,
                          Tri.A, Tri.B, Tri.C))
        {
            continue;
        }
        bool bEdgesExist = true;
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const int32 EdgeID = TriangleEdges[TriangleID][Corner];
            if (!Report.Check(IsEdge(EdgeID), "triangle %d names %d as edge %d", TriangleID, EdgeID, Corner))
            {
                bEdgesExist = false;
                continue;
            }
            const FEdge& Edge = Edges[EdgeID];
            Report.Check(Edge.Vertices.Contains(Tri[Corner]) && Edge.Vertices.Contains(Tri[(Corner + 1) % 3]),
                         "edge %d of triangle %d does not join its corners %d and %d", EdgeID, TriangleID,
                         Corner, (Corner + 1) % 3);
            Report.Check(Edge.Triangles.Contains(TriangleID), "edge %d does not list its triangle %d", EdgeID,
                         TriangleID);
        }
        if (bEdgesExist)
        {
            const int32 Across = Edges[TriangleEdges[TriangleID].A].Triangles.OtherElement(TriangleID);
            Report.Check(!IsTriangle(Across) || !Triangles[Across].IsRotationOf(Tri),
                         "triangles %d and %d are the same", TriangleID, Across);
        }
    }
}

void FDynamicMesh3::CheckEdges(FMeshValidityReport& Report) const
{
    for (const int32 EdgeID : EdgeIndices())
    {
        const FEdge& Edge = Edges[EdgeID];
        Report.Check(EdgeRefCounts.GetCount(EdgeID) == 1, "edge %d has count %d", EdgeID,
                     EdgeRefCounts.GetCount(EdgeID));
        if (!Report.Check(IsVertex(Edge.Vertices.A) && IsVertex(Edge.Vertices.B) &&
                              Edge.Vertices.A < Edge.Vertices.B,
                          "edge %d joins %d and %d", EdgeID, Edge.Vertices.A, Edge.Vertices.B))
        {
            continue;
        }
        Report.Check(FindEdge(Edge.Vertices.A, Edge.Vertices.B) == EdgeID,
                     "vertices %d and %d have two edges", Edge.Vertices.A, Edge.Vertices.B);
        Report.Check(IsTriangle(Edge.Triangles.A) &&
                         (Edge.Triangles.B == InvalidID ||
                          (IsTriangle(Edge.Triangles.B) && Edge.Triangles.B != Edge.Triangles.A)),
                     "edge %d has triangles %d and %d", EdgeID, Edge.Triangles.A, Edge.Triangles.B);
        for (const int32 TriangleID : {Edge.Triangles.A, Edge.Triangles.B})
        {
            Report.Check(!IsTriangle(TriangleID) || TriangleEdges[TriangleID].Contains(EdgeID),
                         "triangle %d does not list its edge %d", TriangleID, EdgeID);
        }
    }
}

/**
 * Reference counts against the triangles, and each vertex's edge list against the edges. Corners and
 * edge ends outside the vertex range are left to the triangle and edge checks, which report them.
 */
void FDynamicMesh3::CheckVertices(FMeshValidityReport& Report) const
{
    TArray<int32> TriangleUses;
    TriangleUses.Init(0, MaxVertexID());
    const auto CountUse = [](TArray<int32>& Uses, int32 VertexID)
    {
        if (Uses.IsValidIndex(VertexID))
        {
            ++Uses[VertexID];
        }
    };
    for (const int32 TriangleID : TriangleIndices())
    {
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            CountUse(TriangleUses, Triangles[TriangleID][Corner]);
        }
    }
    TArray<int32> EdgeUses;
    EdgeUses.Init(0, MaxVertexID());
    for (const int32 EdgeID : EdgeIndices())
    {
        CountUse(EdgeUses, Edges[EdgeID].Vertices.A);
        CountUse(EdgeUses, Edges[EdgeID].Vertices.B);
    }
    for (int32 VertexID = 0; VertexID < MaxVertexID(); ++VertexID)
    {
        const int32 Expected = IsVertex(VertexID) ? TriangleUses[VertexID] + 1 : 0;
        Report.Check(VertexRefCounts.GetCount(VertexID) == Expected,
                     "vertex %d has count %d for %d triangles", VertexID, VertexRefCounts.GetCount(VertexID),
                     TriangleUses[VertexID]);
        Report.Check(VertexEdgeLists.Num(VertexID) == EdgeUses[VertexID],
                     "vertex %d lists %d of its %d edges", VertexID, VertexEdgeLists.Num(VertexID),
                     EdgeUses[VertexID]);
        for (auto It = VertexEdgeLists[VertexID].begin(); It != VertexEdgeLists[VertexID].end(); ++It)
        {
            Report.Check(IsEdge(*It) && Edges[*It].Vertices[It.GetSlot()] == VertexID,
                         "vertex %d lists edge %d, which does not end there", VertexID, *It);
        }
    }
}
