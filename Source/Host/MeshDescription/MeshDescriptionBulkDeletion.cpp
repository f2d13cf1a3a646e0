#include "MeshDescription/MeshDescription.h"

// Deleting triangles one at a time unlinks each from the indexers and asks them, element by element, what
// lost its last user. Deleting many at once answers the same questions from marks: one pass over the
// triangles records which instances, edges and polygons a deleted triangle used and which a kept one still
// uses, one pass over instances and edges records what each vertex keeps and loses, and every set then
// drops its marked elements in one sweep.

namespace
{
/** How the triangles use an instance, an edge or a polygon. */
enum ETriangleUse : uint8
{
    UsedByDeleted = 1,
    UsedByKept = 2,
};

/** What a vertex keeps and loses with the deletion. */
enum EVertexFate : uint8
{
    LosesInstance = 1,
    KeepsInstance = 2,
    LosesEdge = 4,
    KeepsEdge = 8,
    UsedByKeptTriangle = 16,
};

/** Used by deleted triangles only: the element has lost its last user. */
bool LostLastUser(uint8 Use)
{
    return Use == UsedByDeleted;
}

/**
 * Deleting the orphaned instances, or the orphaned edges, leaves the vertex without any, so it is reported;
 * it goes when no kept triangle uses it either.
 */
bool IsLeftOrphaned(uint8 Fate)
{
    const bool bReported = (Fate & (LosesInstance | KeepsInstance)) == LosesInstance ||
                           (Fate & (LosesEdge | KeepsEdge)) == LosesEdge;
    return bReported && (Fate & UsedByKeptTriangle) == 0;
}

TArray<uint8> Zeros(int32 Num)
{
    TArray<uint8> Marks;
    Marks.Init(0, Num);
    return Marks;
}

template <typename IDType, typename PredicateType>
int32 RemoveElements(TMeshElementIDSet<IDType>& IDs, FMeshAttributeSetBase& Attributes,
                     PredicateType&& ShouldRemove)
{
    const TArray<int32> Removed = IDs.RemoveIf(ShouldRemove);
    Attributes.Remove(Removed);
    return Removed.Num();
}
} // namespace

FMeshDeletionCounts FMeshDescription::DeleteTrianglesAndOrphans(std::span<const FTriangleID> Triangles)
{
    ResetIndexers();
    TArray<uint8> DeletedMarks = Zeros(TriangleIDs.GetArraySize());
    const std::span<uint8> Deleted(DeletedMarks);
    for (const FTriangleID Triangle : Triangles)
    {
        if (TriangleIDs.IsValid(Triangle))
        {
            Deleted[Triangle.GetValue()] = 1;
        }
    }

    TArray<uint8> InstanceUses = Zeros(VertexInstanceIDs.GetArraySize());
    TArray<uint8> EdgeUses = Zeros(EdgeIDs.GetArraySize());
    TArray<uint8> PolygonUses = Zeros(PolygonIDs.GetArraySize());
    const std::span<uint8> InstanceUse(InstanceUses), EdgeUse(EdgeUses), PolygonUse(PolygonUses);
    const std::span<const FTriangleData> Data(TriangleData);
    for (const FTriangleID Triangle : TriangleIDs.GetElementIDs())
    {
        const FTriangleData& Corners = Data[Triangle.GetValue()];
        const uint8 Use = Deleted[Triangle.GetValue()] ? UsedByDeleted : UsedByKept;
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            InstanceUse[Corners.Corners[Corner].GetValue()] |= Use;
            EdgeUse[Corners.Edges[Corner].GetValue()] |= Use;
        }
        PolygonUse[Corners.Polygon.GetValue()] |= Use;
    }

    FMeshDeletionCounts Counts;
    TArray<uint8> VertexMarks = Zeros(VertexIDs.GetArraySize());
    const std::span<uint8> VertexGoes(VertexMarks);
    const std::span<const FVertexID> InstanceVertices(InstanceVertex);
    const std::span<const std::array<FVertexID, 2>> EdgeEnds(EdgeVertices);
    for (const FVertexInstanceID Instance : VertexInstanceIDs.GetElementIDs())
    {
        const uint8 Use = InstanceUse[Instance.GetValue()];
        uint8& Fate = VertexGoes[InstanceVertices[Instance.GetValue()].GetValue()];
        Fate |= LostLastUser(Use) ? LosesInstance : KeepsInstance;
        Fate |= (Use & UsedByKept) != 0 ? UsedByKeptTriangle : 0;
        Counts.OrphanedVertexInstances += LostLastUser(Use) ? 1 : 0;
    }
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        const uint8 Fate = LostLastUser(EdgeUse[Edge.GetValue()]) ? LosesEdge : KeepsEdge;
        for (const FVertexID Vertex : EdgeEnds[Edge.GetValue()])
        {
            VertexGoes[Vertex.GetValue()] |= Fate;
        }
    }
    for (uint8& Fate : VertexGoes)
    {
        Fate = IsLeftOrphaned(Fate) ? 1 : 0;
    }

    // An orphaned vertex takes its remaining instances and edges along; none of them has a triangle.
    const auto Goes = [VertexGoes](FVertexID Vertex)
    {
        return VertexGoes[Vertex.GetValue()] != 0;
    };
    Counts.Triangles = RemoveElements(TriangleIDs, TriangleAttributeSet,
                                      [Deleted](int32 Triangle) { return Deleted[Triangle] != 0; });
    Counts.Polygons =
        RemoveElements(PolygonIDs, PolygonAttributeSet,
                       [PolygonUse](int32 Polygon) { return LostLastUser(PolygonUse[Polygon]); });
    Counts.VertexInstances =
        RemoveElements(VertexInstanceIDs, VertexInstanceAttributeSet,
                       [&](int32 Instance)
                       { return LostLastUser(InstanceUse[Instance]) || Goes(InstanceVertices[Instance]); });
    Counts.Edges = RemoveElements(EdgeIDs, EdgeAttributeSet,
                                  [&](int32 Edge) {
                                      return LostLastUser(EdgeUse[Edge]) || Goes(EdgeEnds[Edge][0]) ||
                                             Goes(EdgeEnds[Edge][1]);
                                  });
    Counts.Vertices = RemoveElements(VertexIDs, VertexAttributeSet,
                                     [VertexGoes](int32 Vertex) { return VertexGoes[Vertex] != 0; });
    return Counts;
}
