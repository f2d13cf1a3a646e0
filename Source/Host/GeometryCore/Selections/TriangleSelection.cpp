#include "GeometryCore/Selections/TriangleSelection.h"

FTriangleSelection::FTriangleSelection(const FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs)
    : Members(Mesh.MaxTriangleID())
{
    for (const int32 TriangleID : TriangleIDs)
    {
        if (Mesh.IsTriangle(TriangleID) && Members.Add(TriangleID))
        {
            Triangles.Add(TriangleID);
        }
    }
}

bool FTriangleSelection::IsBorderEdge(const FDynamicMesh3& Mesh, int32 EdgeID) const
{
    const FIndex2i EdgeTris = Mesh.GetEdgeT(EdgeID);
    return EdgeTris.B != FDynamicMesh3::InvalidID && Contains(EdgeTris.A) != Contains(EdgeTris.B);
}

void FTriangleSelection::GetBorderVertices(const FDynamicMesh3& Mesh, TArray<int32>& Out) const
{
    Out.Reset();
    ForEachVertex(Mesh,
                  [this, &Mesh, &Out](int32 VertexID)
                  {
                      if (HasUnselectedTriangle(Mesh, VertexID))
                      {
                          Out.Add(VertexID);
                      }
                  });
}

/** Every triangle of a vertex lies on two of its edges, so the edges' triangles are all of them. */
bool FTriangleSelection::HasUnselectedTriangle(const FDynamicMesh3& Mesh, int32 VertexID) const
{
    for (const int32 EdgeID : Mesh.VtxEdges(VertexID))
    {
        const FIndex2i EdgeTris = Mesh.GetEdgeT(EdgeID);
        if (!Contains(EdgeTris.A) || (EdgeTris.B != FDynamicMesh3::InvalidID && !Contains(EdgeTris.B)))
        {
            return true;
        }
    }
    return false;
}

void FTriangleSelection::GetSelectedVertexTriangles(const FDynamicMesh3& Mesh, int32 VertexID,
                                                    TArray<int32>& Out) const
{
    Out.Reset();
    Mesh.GetVtxTriangles(VertexID, Out);
    Out.RemoveAll([this](int32 TriangleID) { return !Contains(TriangleID); });
}
