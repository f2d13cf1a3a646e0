#include "MeshDescription/MeshDescription.h"

#include <numeric>

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

int32 LowerEnd(const std::array<FVertexID, 2>& Ends)
{
    return std::min(Ends[0], Ends[1]).GetValue();
}

int32 UpperEnd(const std::array<FVertexID, 2>& Ends)
{
    return std::max(Ends[0], Ends[1]).GetValue();
}

/**
 * Gives new elements the default attribute values, as Insert would one by one: IDs past the attributes'
 * range by growing it, reused IDs by resetting them.
 */
void InsertAttributes(FMeshAttributeSetBase& Attributes, const TArray<int32>& NewIDs, int32 ArraySize)
{
    TArray<int32> Reused;
    for (const int32 ID : NewIDs)
    {
        if (ID < Attributes.GetNumElements())
        {
            Reused.Add(ID);
        }
    }
    Attributes.Remove(Reused);
    Attributes.SetNumElements(std::max(ArraySize, Attributes.GetNumElements()));
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
    const int32 NumTriangles = static_cast<int32>(Triangles.size());
    TArray<std::array<FVertexID, 2>> SideEnds;
    SideEnds.SetNum(NumTriangles * 3);
    for (int32 Side = 0; Side < SideEnds.Num(); ++Side)
    {
        const std::array<FVertexInstanceID, 3>& Corners = Triangles[Side / 3].Corners;
        SideEnds[Side] = {GetVertexInstanceVertex(Corners[Side % 3]),
                          GetVertexInstanceVertex(Corners[(Side + 1) % 3])};
    }
    const TArray<FEdgeID> SideEdges = FindOrCreateSideEdges(SideEnds);

    // Each triangle is a polygon of its own.
    TArray<int32> NewPolygons;
    TArray<int32> NewTriangles;
    NewPolygons.SetNum(NumTriangles);
    NewTriangles.SetNum(NumTriangles);
    for (int32 Index = 0; Index < NumTriangles; ++Index)
    {
        NewPolygons[Index] = PolygonIDs.Add().GetValue();
        NewTriangles[Index] = TriangleIDs.Add().GetValue();
    }
    PolygonGroupOfPolygon.SetNum(PolygonIDs.GetArraySize());
    TriangleData.SetNum(TriangleIDs.GetArraySize());
    for (int32 Index = 0; Index < NumTriangles; ++Index)
    {
        const FEdgeID* Edges = SideEdges.GetData() + Index * 3;
        PolygonGroupOfPolygon[NewPolygons[Index]] = Triangles[Index].Group;
        TriangleData[NewTriangles[Index]] = {Triangles[Index].Corners,
                                             {Edges[0], Edges[1], Edges[2]},
                                             FPolygonID(NewPolygons[Index]),
                                             Triangles[Index].Group};
    }
    InsertAttributes(PolygonAttributeSet, NewPolygons, PolygonIDs.GetArraySize());
    InsertAttributes(TriangleAttributeSet, NewTriangles, TriangleIDs.GetArraySize());
}

TArray<FEdgeID> FMeshDescription::FindOrCreateSideEdges(std::span<const std::array<FVertexID, 2>> SideEnds)
{
    // Existing edges come first in each bucket, then the new sides in creation order.
    TArray<int32> Starts;
    Starts.Init(0, VertexIDs.GetArraySize() + 1);
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        ++Starts[LowerEnd(EdgeVertices[Edge.GetValue()]) + 1];
    }
    for (const std::array<FVertexID, 2>& Ends : SideEnds)
    {
        ++Starts[LowerEnd(Ends) + 1];
    }
    std::partial_sum(Starts.begin(), Starts.end(), Starts.begin());
    TArray<FSideEntry> Buckets;
    Buckets.SetNum(Starts.Last());
    TArray<int32> Fill = Starts;
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        const std::array<FVertexID, 2>& Ends = EdgeVertices[Edge.GetValue()];
        Buckets[Fill[LowerEnd(Ends)]++] = {UpperEnd(Ends), Edge.GetValue()};
    }
    const int32 NumSides = static_cast<int32>(SideEnds.size());
    TArray<int32> SlotOfSide;
    SlotOfSide.SetNum(NumSides);
    for (int32 Side = 0; Side < NumSides; ++Side)
    {
        SlotOfSide[Side] = Fill[LowerEnd(SideEnds[Side])]++;
        Buckets[SlotOfSide[Side]].OtherVertex = UpperEnd(SideEnds[Side]);
    }

    // Each side takes the edge of its vertex pair that exists by now, or makes it.
    TArray<FEdgeID> SideEdges;
    SideEdges.SetNum(NumSides);
    TArray<int32> NewEdges;
    TArray<int32> SidesMakingEdges;
    for (int32 Side = 0; Side < NumSides; ++Side)
    {
        const int32 Bucket = LowerEnd(SideEnds[Side]);
        const int32 Other = UpperEnd(SideEnds[Side]);
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
            NewEdges.Add(Edge);
            SidesMakingEdges.Add(Side);
        }
        SideEdges[Side] = FEdgeID(Edge);
    }
    EdgeVertices.SetNum(EdgeIDs.GetArraySize());
    for (int32 Index = 0; Index < NewEdges.Num(); ++Index)
    {
        EdgeVertices[NewEdges[Index]] = SideEnds[SidesMakingEdges[Index]];
    }
    InsertAttributes(EdgeAttributeSet, NewEdges, EdgeIDs.GetArraySize());
    return SideEdges;
}
