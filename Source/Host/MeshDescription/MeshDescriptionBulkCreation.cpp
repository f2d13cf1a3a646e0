#include "MeshDescription/MeshDescription.h"

// Creating triangles one at a time finds each side's edge in the vertex-to-edge indexer and links every new
// element into six indexers. Creating many at once finds the edges from buckets instead: every existing edge
// and every new side goes into the bucket of its smaller vertex, and the sides are then matched in creation
// order, so an edge is created by the first side that needs it, exactly as one at a time.

namespace
{
/** An edge or a new triangle's side, in the bucket of its smaller vertex. */
struct FSideEntry
{
    int32 OtherVertex = INDEX_NONE;
    /** The edge, once it exists: an existing edge from the start, a new one from the side that made it. */
    int32 Edge = INDEX_NONE;
};

/** Prefix sums of per-vertex counts kept one place ahead, so Starts[V] is where vertex V's bucket begins. */
void CountsToStarts(TArray<int32>& Starts)
{
    for (int32 Index = 1; Index < Starts.Num(); ++Index)
    {
        Starts[Index] += Starts[Index - 1];
    }
}

/** Gives new elements default attribute values: appended ones by growing the set, reused IDs one by one. */
void InsertAttributes(FMeshAttributeSetBase& Attributes, int32 ArraySize, const TArray<int32>& ReusedIDs)
{
    Attributes.Remove(ReusedIDs);
    if (ArraySize > Attributes.GetNumElements())
    {
        Attributes.SetNumElements(ArraySize);
    }
}
} // namespace

void FMeshDescription::CreateTriangles(std::span<const FTriangleCorners> Triangles)
{
    for (const FTriangleCorners& Triangle : Triangles)
    {
        CheckContour(Triangle.Corners);
        VT_CHECKF(PolygonGroupIDs.IsValid(Triangle.Group), "polygon group %d does not exist",
                  Triangle.Group.GetValue());
    }
    ResetIndexers();

    // The ends of every side, in creation order: side Corner of a triangle runs to the next corner.
    const int32 NumSides = static_cast<int32>(Triangles.size()) * 3;
    TArray<std::array<FVertexID, 2>> SideEnds;
    SideEnds.SetNum(NumSides);
    for (int32 Side = 0; Side < NumSides; ++Side)
    {
        const std::array<FVertexInstanceID, 3>& Corners = Triangles[Side / 3].Corners;
        SideEnds[Side] = {GetVertexInstanceVertex(Corners[Side % 3]),
                          GetVertexInstanceVertex(Corners[(Side + 1) % 3])};
    }
    const auto Lower = [](const std::array<FVertexID, 2>& Ends)
    {
        return std::min(Ends[0], Ends[1]).GetValue();
    };
    const auto Upper = [](const std::array<FVertexID, 2>& Ends)
    {
        return std::max(Ends[0], Ends[1]).GetValue();
    };

    // Existing edges come first in each bucket, then the new sides in creation order.
    TArray<int32> Starts;
    Starts.Init(0, VertexIDs.GetArraySize() + 1);
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        ++Starts[Lower(EdgeVertices[Edge.GetValue()]) + 1];
    }
    for (const std::array<FVertexID, 2>& Ends : SideEnds)
    {
        ++Starts[Lower(Ends) + 1];
    }
    CountsToStarts(Starts);
    TArray<FSideEntry> Buckets;
    Buckets.SetNum(Starts.Last());
    TArray<int32> Fill = Starts;
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        const std::array<FVertexID, 2>& Ends = EdgeVertices[Edge.GetValue()];
        Buckets[Fill[Lower(Ends)]++] = {Upper(Ends), Edge.GetValue()};
    }
    TArray<int32> SlotOfSide;
    SlotOfSide.SetNum(NumSides);
    for (int32 Side = 0; Side < NumSides; ++Side)
    {
        SlotOfSide[Side] = Fill[Lower(SideEnds[Side])]++;
        Buckets[SlotOfSide[Side]].OtherVertex = Upper(SideEnds[Side]);
    }

    // Each side takes the edge of its vertex pair that exists by now, or makes it.
    TArray<FEdgeID> SideEdges;
    SideEdges.SetNum(NumSides);
    TArray<int32> SidesMakingEdges;
    for (int32 Side = 0; Side < NumSides; ++Side)
    {
        const int32 Bucket = Lower(SideEnds[Side]);
        const int32 Other = Upper(SideEnds[Side]);
        const FSideEntry* Entries = Buckets.GetData();
        int32 Edge = INDEX_NONE;
        for (int32 Slot = Starts[Bucket]; Slot < Starts[Bucket + 1] && Edge == INDEX_NONE; ++Slot)
        {
            Edge = Entries[Slot].OtherVertex == Other ? Entries[Slot].Edge : INDEX_NONE;
        }
        if (Edge == INDEX_NONE)
        {
            Edge = EdgeIDs.Add().GetValue();
            Buckets[SlotOfSide[Side]].Edge = Edge;
            SidesMakingEdges.Add(Side);
        }
        SideEdges[Side] = FEdgeID(Edge);
    }
    const int32 EdgeArraySize = EdgeVertices.Num();
    EdgeVertices.SetNum(EdgeIDs.GetArraySize());
    TArray<int32> ReusedEdges;
    for (const int32 Side : SidesMakingEdges)
    {
        const int32 Edge = SideEdges[Side].GetValue();
        EdgeVertices[Edge] = SideEnds[Side];
        if (Edge < EdgeArraySize)
        {
            ReusedEdges.Add(Edge);
        }
    }
    InsertAttributes(EdgeAttributeSet, EdgeIDs.GetArraySize(), ReusedEdges);

    // Each triangle is a polygon of its own.
    const int32 NumTriangles = static_cast<int32>(Triangles.size());
    TArray<std::pair<FPolygonID, FTriangleID>> NewIDs;
    NewIDs.SetNum(NumTriangles);
    for (std::pair<FPolygonID, FTriangleID>& IDs : NewIDs)
    {
        IDs = {PolygonIDs.Add(), TriangleIDs.Add()};
    }
    const int32 PolygonArraySize = PolygonGroupOfPolygon.Num();
    const int32 TriangleArraySize = TriangleData.Num();
    PolygonGroupOfPolygon.SetNum(PolygonIDs.GetArraySize());
    TriangleData.SetNum(TriangleIDs.GetArraySize());
    TArray<int32> ReusedPolygons;
    TArray<int32> ReusedTriangles;
    for (int32 Index = 0; Index < NumTriangles; ++Index)
    {
        const auto [Polygon, Triangle] = NewIDs[Index];
        const FEdgeID* Edges = SideEdges.GetData() + Index * 3;
        PolygonGroupOfPolygon[Polygon.GetValue()] = Triangles[Index].Group;
        TriangleData[Triangle.GetValue()] = {
            Triangles[Index].Corners, {Edges[0], Edges[1], Edges[2]}, Polygon, Triangles[Index].Group};
        if (Polygon.GetValue() < PolygonArraySize)
        {
            ReusedPolygons.Add(Polygon.GetValue());
        }
        if (Triangle.GetValue() < TriangleArraySize)
        {
            ReusedTriangles.Add(Triangle.GetValue());
        }
    }
    InsertAttributes(PolygonAttributeSet, PolygonIDs.GetArraySize(), ReusedPolygons);
    InsertAttributes(TriangleAttributeSet, TriangleIDs.GetArraySize(), ReusedTriangles);
}
