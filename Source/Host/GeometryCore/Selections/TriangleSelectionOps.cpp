#include "GeometryCore/Selections/TriangleSelectionOps.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Selections/TriangleSelection.h"

namespace
{
/** The selection followed by the live triangles in Added that it does not hold, in ascending ID order. */
TArray<int32> AppendInIDOrder(const FDynamicMesh3& Mesh, const FTriangleSelection& Selection,
                              const FIDBitSet& Added)
{
    TArray<int32> Result = Selection.GetTriangles();
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        if (Added.Contains(TriangleID) && !Selection.Contains(TriangleID))
        {
            Result.Add(TriangleID);
        }
    }
    return Result;
}
} // namespace

namespace TriangleSelectionOps
{
TArray<int32> SelectAll(const FDynamicMesh3& Mesh)
{
    return Invert(Mesh, {});
}

TArray<int32> Invert(const FDynamicMesh3& Mesh, const TArray<int32>& Selected)
{
    const FTriangleSelection Selection(Mesh, Selected);
    TArray<int32> Inverted;
    Inverted.Reserve(Mesh.TriangleCount() - Selection.Num());
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        if (!Selection.Contains(TriangleID))
        {
            Inverted.Add(TriangleID);
        }
    }
    return Inverted;
}

TArray<int32> Grow(const FDynamicMesh3& Mesh, const TArray<int32>& Selected)
{
    const FTriangleSelection Selection(Mesh, Selected);
    FIDBitSet Added(Mesh.MaxTriangleID());
    TArray<int32> Scratch;
    Selection.ForEachVertex(Mesh,
                            [&](int32 VertexID)
                            {
                                Scratch.Reset();
                                Mesh.GetVtxTriangles(VertexID, Scratch);
                                for (const int32 TriangleID : Scratch)
                                {
                                    Added.Add(TriangleID);
                                }
                            });
    return AppendInIDOrder(Mesh, Selection, Added);
}

TArray<int32> Shrink(const FDynamicMesh3& Mesh, const TArray<int32>& Selected)
{
    FTriangleSelection Selection(Mesh, Selected);
    TArray<int32> BorderVertices;
    Selection.GetBorderVertices(Mesh, BorderVertices);
    FIDBitSet OnBorder(Mesh.MaxVertexID());
    for (const int32 VertexID : BorderVertices)
    {
        OnBorder.Add(VertexID);
    }
    Selection.Filter(
        [&](int32 TriangleID)
        {
            const FIndex3i Corners = Mesh.GetTriangle(TriangleID);
            return !OnBorder.Contains(Corners.A) && !OnBorder.Contains(Corners.B) &&
                   !OnBorder.Contains(Corners.C);
        });
    return Selection.GetTriangles();
}

TArray<int32> ExpandToConnected(const FDynamicMesh3& Mesh, const TArray<int32>& Selected)
{
    const FTriangleSelection Selection(Mesh, Selected);
    FIDBitSet Reached(Mesh.MaxTriangleID());
    TArray<int32> Stack = Selection.GetTriangles();
    for (const int32 TriangleID : Stack)
    {
        Reached.Add(TriangleID);
    }
    while (!Stack.IsEmpty())
    {
        const FIndex3i Neighbours = Mesh.GetTriNeighbourTris(Stack.Pop());
        for (int32 Side = 0; Side < 3; ++Side)
        {
            if (Neighbours[Side] != FDynamicMesh3::InvalidID && Reached.Add(Neighbours[Side]))
            {
                Stack.Add(Neighbours[Side]);
            }
        }
    }
    return AppendInIDOrder(Mesh, Selection, Reached);
}
} // namespace TriangleSelectionOps
