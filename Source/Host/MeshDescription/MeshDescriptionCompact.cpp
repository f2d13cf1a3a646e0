#include "MeshDescription/MeshDescription.h"

namespace
{
TArray<int32> InvertLookup(const TArray<int32>& OldToNew, int32 NumLive)
{
    TArray<int32> NewToOld;
    NewToOld.SetNum(NumLive);
    const int32* Lookup = OldToNew.GetData();
    for (int32 Old = 0; Old < OldToNew.Num(); ++Old)
    {
        if (Lookup[Old] != INDEX_NONE)
        {
            NewToOld.GetData()[Lookup[Old]] = Old;
        }
    }
    return NewToOld;
}

/** The new ID of an element; the lookup has an entry for every old ID, so IDs are taken on trust. */
template <typename IDType>
IDType Remapped(const TArray<int32>& OldToNew, IDType ID)
{
    return IDType(OldToNew.GetData()[ID.GetValue()]);
}

/** The entries of the surviving elements in their new order, each passed through Remap. */
template <typename T, typename RemapFunction>
TArray<T> CompactData(const TArray<T>& Data, const TArray<int32>& NewToOld, RemapFunction Remap)
{
    TArray<T> Result;
    Result.SetNum(NewToOld.Num());
    for (int32 New = 0; New < NewToOld.Num(); ++New)
    {
        Result.GetData()[New] = Remap(Data.GetData()[NewToOld.GetData()[New]]);
    }
    return Result;
}
} // namespace

FElementIDRemappings FMeshDescription::Compact()
{
    FElementIDRemappings Remappings;
    Remappings.NewVertexIndexLookup = VertexIDs.Compact();
    Remappings.NewVertexInstanceIndexLookup = VertexInstanceIDs.Compact();
    Remappings.NewEdgeIndexLookup = EdgeIDs.Compact();
    Remappings.NewTriangleIndexLookup = TriangleIDs.Compact();
    Remappings.NewPolygonIndexLookup = PolygonIDs.Compact();
    Remappings.NewPolygonGroupIndexLookup = PolygonGroupIDs.Compact();

    const TArray<int32>& Vertices = Remappings.NewVertexIndexLookup;
    const TArray<int32>& Instances = Remappings.NewVertexInstanceIndexLookup;
    const TArray<int32>& EdgeLookup = Remappings.NewEdgeIndexLookup;
    const TArray<int32>& Polygons = Remappings.NewPolygonIndexLookup;
    const TArray<int32>& Groups = Remappings.NewPolygonGroupIndexLookup;

    const TArray<int32> InstanceOrder = InvertLookup(Instances, VertexInstanceIDs.Num());
    const TArray<int32> EdgeOrder = InvertLookup(EdgeLookup, EdgeIDs.Num());
    const TArray<int32> TriangleOrder = InvertLookup(Remappings.NewTriangleIndexLookup, TriangleIDs.Num());
    const TArray<int32> PolygonOrder = InvertLookup(Polygons, PolygonIDs.Num());

    InstanceVertex =
        CompactData(InstanceVertex, InstanceOrder, [&](FVertexID V) { return Remapped(Vertices, V); });
    EdgeVertices = CompactData(
        EdgeVertices, EdgeOrder,
        [&](const std::array<FVertexID, 2>& Ends) {
            return std::array<FVertexID, 2>{Remapped(Vertices, Ends[0]), Remapped(Vertices, Ends[1])};
        });
    TriangleData = CompactData(TriangleData, TriangleOrder,
                               [&](const FTriangleData& Old)
                               {
                                   FTriangleData New;
                                   for (int32 Corner = 0; Corner < 3; ++Corner)
                                   {
                                       New.Corners[Corner] = Remapped(Instances, Old.Corners[Corner]);
                                       New.Edges[Corner] = Remapped(EdgeLookup, Old.Edges[Corner]);
                                   }
                                   New.Polygon = Remapped(Polygons, Old.Polygon);
                                   New.Group = Remapped(Groups, Old.Group);
                                   return New;
                               });
    PolygonGroupOfPolygon = CompactData(PolygonGroupOfPolygon, PolygonOrder,
                                        [&](FPolygonGroupID G) { return Remapped(Groups, G); });

    VertexAttributeSet.Permute(InvertLookup(Vertices, VertexIDs.Num()));
    VertexInstanceAttributeSet.Permute(InstanceOrder);
    EdgeAttributeSet.Permute(EdgeOrder);
    TriangleAttributeSet.Permute(TriangleOrder);
    PolygonAttributeSet.Permute(PolygonOrder);
    PolygonGroupAttributeSet.Permute(InvertLookup(Groups, PolygonGroupIDs.Num()));

    // Indexers that were dropped stay dropped: they are rebuilt when next needed.
    const bool bRebuildIndexers = bIndexersBuilt;
    ResetIndexers();
    if (bRebuildIndexers)
    {
        BuildIndexers();
    }
    return Remappings;
}
