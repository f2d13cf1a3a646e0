#include "GeometryCore/Selections/MeshSelectionEdits.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/Selections/TriangleSelection.h"
#include "GeometryCore/Util/IDBitSet.h"

#include <algorithm>

namespace
{
/** At each border vertex, gives the selected triangles overlay elements that no unselected one uses. */
template <typename OverlayType>
void SplitBorderElements(OverlayType& Overlay, const FDynamicMesh3& Mesh, const FTriangleSelection& Selection,
                         const TArray<int32>& BorderVertices, TArray<int32>& Scratch)
{
    for (const int32 VertexID : BorderVertices)
    {
        Selection.GetSelectedVertexTriangles(Mesh, VertexID, Scratch);
        Overlay.SplitElementsAtVertex(VertexID, Scratch);
    }
}

/** Replaces each element the selected triangles use, once, with Change of its value. */
template <typename OverlayType, typename ChangeType>
void ChangeSelectedElements(OverlayType& Overlay, const FTriangleSelection& Selection, ChangeType&& Change)
{
    FIDBitSet Changed(Overlay.MaxElementID());
    for (const int32 TriangleID : Selection.GetTriangles())
    {
        if (!Overlay.IsSetTriangle(TriangleID))
        {
            continue;
        }
        const FIndex3i TriElements = Overlay.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            if (Changed.Add(TriElements[Corner]))
            {
                Overlay.SetElement(TriElements[Corner], Change(Overlay.GetElement(TriElements[Corner])));
            }
        }
    }
}

/** Negates the normals of the selected triangles and their bitangent signs, after splitting the border. */
void FlipSelectedNormalElements(FDynamicMesh3& Mesh, const FTriangleSelection& Selection)
{
    FDynamicMeshAttributeSet& Attributes = *Mesh.Attributes();
    TArray<int32> BorderVertices;
    TArray<int32> Scratch;
    Selection.GetBorderVertices(Mesh, BorderVertices);
    FDynamicMeshNormalOverlay& Normals = *Attributes.PrimaryNormals();
    SplitBorderElements(Normals, Mesh, Selection, BorderVertices, Scratch);
    ChangeSelectedElements(Normals, Selection, [](const FVector3f& Normal) { return -Normal; });
    if (FDynamicMeshTangentOverlay* Tangents = Attributes.PrimaryTangents())
    {
        SplitBorderElements(*Tangents, Mesh, Selection, BorderVertices, Scratch);
        ChangeSelectedElements(*Tangents, Selection,
                               [](const FVector4f& Tangent)
                               { return FVector4f(Tangent.X, Tangent.Y, Tangent.Z, -Tangent.W); });
    }
}

/** A vertex on the border curve with its two neighbours along the curve. */
struct FBorderCurvePoint
{
    int32 VertexID = FDynamicMesh3::InvalidID;
    FIndex2i Neighbours;
};

/** The number of border edges at the vertex; the far ends of the first two go to OutNeighbours. */
int32 FindBorderNeighbours(const FDynamicMesh3& Mesh, const FTriangleSelection& Selection, int32 VertexID,
                           FIndex2i& OutNeighbours)
{
    int32 NumBorderEdges = 0;
    for (const int32 EdgeID : Mesh.VtxEdges(VertexID))
    {
        if (!Selection.IsBorderEdge(Mesh, EdgeID))
        {
            continue;
        }
        if (NumBorderEdges < 2)
        {
            OutNeighbours[NumBorderEdges] = Mesh.GetEdgeV(EdgeID).OtherElement(VertexID);
        }
        ++NumBorderEdges;
    }
    return NumBorderEdges;
}

/** The vertices with exactly two border edges, with their neighbours along the border. */
TArray<FBorderCurvePoint> FindBorderCurvePoints(const FDynamicMesh3& Mesh,
                                                const FTriangleSelection& Selection)
{
    TArray<FBorderCurvePoint> Points;
    Selection.ForEachVertex(Mesh,
                            [&](int32 VertexID)
                            {
                                FIndex2i Neighbours;
                                if (FindBorderNeighbours(Mesh, Selection, VertexID, Neighbours) == 2)
                                {
                                    Points.Add(FBorderCurvePoint{VertexID, Neighbours});
                                }
                            });
    return Points;
}
} // namespace

int32 DeleteSelectedTriangles(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs)
{
    // Removing a dead or already removed ID is refused, so nothing is counted twice.
    int32 NumRemoved = 0;
    for (const int32 TriangleID : TriangleIDs)
    {
        NumRemoved += Mesh.RemoveTriangle(TriangleID, true) ? 1 : 0;
    }
    return NumRemoved;
}

int32 DisconnectSelectedTriangles(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs)
{
    const FTriangleSelection Selection(Mesh, TriangleIDs);
    TArray<int32> BorderVertices;
    Selection.GetBorderVertices(Mesh, BorderVertices);
    TArray<int32> Moving;
    int32 NumAdded = 0;
    for (const int32 VertexID : BorderVertices)
    {
        Selection.GetSelectedVertexTriangles(Mesh, VertexID, Moving);
        NumAdded += Mesh.SplitVertex(VertexID, Moving) != FDynamicMesh3::InvalidID ? 1 : 0;
    }
    return NumAdded;
}

int32 FlipSelectedTriangleNormals(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs)
{
    FTriangleSelection Selection(Mesh, TriangleIDs);
    // A triangle whose reverse exists cannot turn; whether it can does not depend on other turns, since at
    // most two triangles have the same corners.
    Selection.Filter([&Mesh](int32 TriangleID) { return Mesh.CanReverseTriOrientation(TriangleID); });
    if (Mesh.HasAttributes() && !Selection.IsEmpty())
    {
        FlipSelectedNormalElements(Mesh, Selection);
    }
    for (const int32 TriangleID : Selection.GetTriangles())
    {
        Mesh.ReverseTriOrientation(TriangleID);
    }
    return Selection.Num();
}

int32 CreatePolygroupForSelection(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs)
{
    const FTriangleSelection Selection(Mesh, TriangleIDs);
    if (Selection.IsEmpty())
    {
        return FDynamicMesh3::InvalidID;
    }
    Mesh.EnableTriangleGroups();
    const int32 GroupID = Mesh.MaxGroupID();
    for (const int32 TriangleID : Selection.GetTriangles())
    {
        Mesh.SetTriangleGroup(TriangleID, GroupID);
    }
    return GroupID;
}

int32 SmoothSelectionBorder(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs, int32 Iterations,
                            double Alpha)
{
    const FTriangleSelection Selection(Mesh, TriangleIDs);
    const TArray<FBorderCurvePoint> Points = FindBorderCurvePoints(Mesh, Selection);
    const double Step = std::clamp(Alpha, 0.0, 1.0);
    TArray<FVector> Original;
    Original.Reserve(Points.Num());
    for (const FBorderCurvePoint& Point : Points)
    {
        Original.Add(Mesh.GetVertex(Point.VertexID));
    }
    TArray<FVector> Updated;
    Updated.SetNum(Points.Num());
    for (int32 Iteration = 0; Iteration < Iterations; ++Iteration)
    {
        for (int32 Index = 0; Index < Points.Num(); ++Index)
        {
            const FBorderCurvePoint& Point = Points[Index];
            const FVector Position = Mesh.GetVertex(Point.VertexID);
            const FVector Midpoint =
                (Mesh.GetVertex(Point.Neighbours.A) + Mesh.GetVertex(Point.Neighbours.B)) * 0.5;
            Updated[Index] = Position + (Midpoint - Position) * Step;
        }
        for (int32 Index = 0; Index < Points.Num(); ++Index)
        {
            Mesh.SetVertex(Points[Index].VertexID, Updated[Index]);
        }
    }
    int32 NumMoved = 0;
    for (int32 Index = 0; Index < Points.Num(); ++Index)
    {
        NumMoved += Mesh.GetVertex(Points[Index].VertexID) != Original[Index] ? 1 : 0;
    }
    return NumMoved;
}
