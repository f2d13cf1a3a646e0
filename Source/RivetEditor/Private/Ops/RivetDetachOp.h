#pragma once

#include "Core/Containers/Array.h"
#include "Core/Text/Text.h"
#include "MeshDescription/MeshElementID.h"

class FMeshDescription;
class USkeletalMesh;

/** What DetachSelection is asked to do. */
struct FRivetDetachParams
{
    /** Source LOD 0 triangles to detach; repeats and IDs that name no triangle are skipped. */
    TArray<int32> TriangleIDs;
    /** Also delete the detached triangles from the source. */
    bool bRemoveFromSource = true;
    /** Handed to DeletePolygons and RemoveUnusedMaterialSlots wherever the detach calls them. */
    bool bPostEditChange = true;
};

/** What a detach did, or why it stopped. Callers read the counts only when bSuccess is set. */
struct FRivetDetachResult
{
    bool bSuccess = false;
    /** Why the detach refused or stopped; empty on success. */
    FText Message;
    /** Distinct source triangles detached. */
    int32 TrianglesMoved = 0;
    /** Triangles deleted from the source; 0 when the source keeps them. */
    int32 TrianglesRemovedFromSource = 0;
    /** Material slots the new asset lost in its cleanup. */
    int32 SlotsRemoved = 0;
    /** Levels of detail removed from the new asset (it keeps LOD 0 only). */
    int32 LODsRemoved = 0;
    /** Mesh-only sockets removed from the new asset. */
    int32 SocketsCleared = 0;
};

/**
 * The two triangle lists of a detach: the selected triangles (distinct live IDs of the list, in order of
 * first appearance) and the remainder (every other live triangle, in ascending ID order).
 */
struct FRivetDetachTriangleSets
{
    TArray<FTriangleID> Selected;
    TArray<FTriangleID> Remainder;
};

/** Splits the description's live triangles by the list. Linear in the list and the triangle array. */
FRivetDetachTriangleSets SplitDetachTriangles(const FMeshDescription& Mesh, const TArray<int32>& TriangleIDs);

/** The first triangle of the list that is not a live triangle of the description, or an invalid ID. */
FTriangleID FindFirstMissingTriangle(const FMeshDescription& Mesh, const TArray<FTriangleID>& Triangles);

/**
 * Reduces the mesh to its first LOD: removes every further LOD's settings, imported LOD model and the
 * morph targets' data for it, last LOD first. Returns the number of LODs removed.
 */
int32 RemoveLODsAfterFirst(USkeletalMesh& Mesh);

/**
 * True when the triangles can be detached from the mesh: it exists, has LOD 0 geometry, and the list
 * names at least one live triangle but not all of them. Otherwise false with the reason in OutMessage.
 * Changes nothing.
 */
bool ValidateDetach(const USkeletalMesh* Source, const FRivetDetachParams& Params, FText& OutMessage);

/**
 * Trims NewAsset, a duplicate of Source made just before the call, down to the listed triangles: checks
 * that it is an untouched copy (triangle count, then the IDs of the triangles it will delete), keeps LOD 0
 * only, deletes every other triangle, removes the slots nothing draws with any more, its mesh-only sockets
 * and its record of the source file; then, when asked, deletes the triangles from the source. Refusals up
 * to the copy check leave both meshes untouched; later failures are not rolled back and their message
 * says what to do. Opens no transaction: the caller records both meshes first.
 */
FRivetDetachResult DetachSelection(USkeletalMesh* Source, USkeletalMesh* NewAsset, const FRivetDetachParams& Params);
