#pragma once

#include "Core/Containers/Array.h"
#include "MeshDescription/MeshElementID.h"

/** What a compaction did: for every element set, each old ID's new ID (INDEX_NONE where deleted). */
struct FElementIDRemappings
{
    TArray<int32> NewVertexIndexLookup;
    TArray<int32> NewVertexInstanceIndexLookup;
    TArray<int32> NewEdgeIndexLookup;
    TArray<int32> NewTriangleIndexLookup;
    TArray<int32> NewPolygonIndexLookup;
    TArray<int32> NewPolygonGroupIndexLookup;

    FVertexID GetRemappedVertexID(FVertexID ID) const { return Remap(NewVertexIndexLookup, ID); }
    FVertexInstanceID GetRemappedVertexInstanceID(FVertexInstanceID ID) const
    {
        return Remap(NewVertexInstanceIndexLookup, ID);
    }
    FEdgeID GetRemappedEdgeID(FEdgeID ID) const { return Remap(NewEdgeIndexLookup, ID); }
    FTriangleID GetRemappedTriangleID(FTriangleID ID) const { return Remap(NewTriangleIndexLookup, ID); }
    FPolygonID GetRemappedPolygonID(FPolygonID ID) const { return Remap(NewPolygonIndexLookup, ID); }
    FPolygonGroupID GetRemappedPolygonGroupID(FPolygonGroupID ID) const
    {
        return Remap(NewPolygonGroupIndexLookup, ID);
    }

private:
    template <typename IDType>
    static IDType Remap(const TArray<int32>& Lookup, IDType ID)
    {
        return Lookup.IsValidIndex(ID.GetValue()) ? IDType(Lookup[ID.GetValue()]) : IDType::Invalid();
    }
};
