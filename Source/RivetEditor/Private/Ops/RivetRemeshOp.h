#pragma once

#include "Core/Containers/Array.h"
#include "Core/Text/Text.h"

class USkeletalMesh;

/** What RemeshSelection is asked to do. */
struct FRivetRemeshParams
{
    /** LOD 0 triangles of the region; repeats and IDs that name no triangle are ignored. */
    TArray<int32> TriangleIDs;
    /** Target edge length as a multiple of the region's average edge length; used within 0.1 .. 10. */
    double Density = 1.0;
    /** Remesh passes; used within 1 .. 50. */
    int32 Iterations = 10;
    /** Run the mesh's post-edit-change after the commit. */
    bool bPostEditChange = true;
    /** The most triangles LOD 0 may have after the remesh; a remesh expected to make more is refused. */
    int64 MaxTrianglesAfter = 8'000'000;
};

/** What a remesh did, or why it did nothing. */
struct FRivetRemeshResult
{
    /** Set only when LOD 0 was replaced and committed. */
    bool bSuccess = false;
    /** Why nothing was done; empty on success. */
    FText Message;
    int32 TrianglesBefore = 0;
    int32 TrianglesAfter = 0;
    /** The region's average edge length, each triangle counting its three edges. */
    double AverageEdgeLength = 0.0;
    /** The edge length the remesher aimed at. */
    double TargetEdgeLength = 0.0;
    int32 Passes = 0;
};

/**
 * Remeshes a region of the mesh's LOD 0 into an even triangle mesh whose edges are Density times the
 * region's average edge long. The whole LOD 0 goes through a dynamic mesh (RemeshTriangleRegion does the
 * region) and back; the triangles outside the region, the region's border, its seams and attribute
 * boundaries stay, skin weights, UVs and morph position deltas are carried over, and every polygon group
 * keeps its slot name. Refuses, with the asset untouched, without a mesh, a LOD 0 description or a live
 * triangle to remesh, when a morph target carries normal deltas (converting LOD 0 would drop them), when
 * the region has no size, and when the conversion or the slot names would not come back whole. Opens no
 * transaction: the caller records the mesh first.
 */
FRivetRemeshResult RemeshSelection(USkeletalMesh* Mesh, const FRivetRemeshParams& Params);
