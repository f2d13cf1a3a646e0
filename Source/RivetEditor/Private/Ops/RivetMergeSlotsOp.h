#pragma once

#include "Core/Containers/Array.h"
#include "Core/Text/Text.h"
#include "MeshDescription/MeshElementID.h"

class FMeshDescription;
class USkeletalMesh;

/** What MergeMaterialSlots is asked to do. */
struct FRivetMergeSlotsParams
{
    /** The slot to delete; its polygons move away. */
    int32 SourceSlot = INDEX_NONE;
    /** The slot that receives them. */
    int32 TargetSlot = INDEX_NONE;
    /** Handed to RemoveUnusedMaterialSlots. */
    bool bPostEditChange = true;
};

/** What a merge did, or why it did nothing. */
struct FRivetMergeSlotsResult
{
    bool bSuccess = false;
    FText Message;
    /** Polygons moved out of the deleted slot's group. */
    int32 PolygonsMoved = 0;
    int32 SlotsRemoved = 0;
    int32 SlotsRemaining = 0;
    /** The target slot's index after the slots were renumbered; -1 when it is not found by its name. */
    int32 NewTargetSlot = -1;
};

/** What the slot cleanup did, or why it did nothing. */
struct FRivetSlotCleanupResult
{
    /** True when the slots were rebuilt, or when nothing needed rebuilding. */
    bool bSuccess = false;
    FText Message;
    int32 SlotsRemoved = 0;
    int32 SlotsRemaining = 0;
};

/**
 * The geometry of a merge: moves every polygon of one group, with its triangles, into another. Returns
 * the number of polygons moved. Linear in the group's polygons.
 */
int32 MovePolygonGroupPolygons(FMeshDescription& Mesh, FPolygonGroupID From, FPolygonGroupID To);

/**
 * The geometry of the cleanup: deletes the polygon groups (none may have a polygon left), then compacts
 * the description (every element set renumbered densely, in former order). Returns each old polygon
 * group ID's new ID, INDEX_NONE for deleted and free IDs.
 */
TArray<int32> DeletePolygonGroupsAndCompact(FMeshDescription& Mesh, const TArray<FPolygonGroupID>& Groups);

/**
 * Rebuilds the material slots to one per LOD 0 polygon group with triangles, slot k drawn by group k,
 * each group keeping the material it drew with; empty groups go, the groups are renumbered without
 * holes and the LOD 0 material map is emptied. Slots that only other LODs draw with stay, after the
 * groups' slots in their former order, each paired with a new LOD 0 group without triangles (so that
 * slot k and group k still go together and a new group can get a new slot); the other LODs' material
 * maps follow the renumbering, so their geometry (never touched) keeps its materials. Succeeds without
 * a change when that is the state already, up to the LOD 0 map: no slot unused, no group empty but
 * those paired groups, no hole in the group IDs.
 *
 * Refuses, with the mesh untouched, without a mesh, a LOD 0 description or a triangle, and when the
 * bindings cannot be honoured: more slots needed than the mesh has, or a used group whose slot does not
 * exist. Opens no transaction and records nothing: the caller records the mesh first.
 */
FRivetSlotCleanupResult RemoveUnusedMaterialSlots(USkeletalMesh* Mesh, bool bPostEditChange);

/**
 * Deletes a slot by moving the polygons of its group (the first group with triangles that draws with
 * it) into the target slot's group, then removing unused slots. Refuses, with the mesh untouched, when
 * the slots are the same or missing, without a LOD 0 description or a group for the target slot, and
 * when the cleanup would refuse after the merge (with the cleanup's message). Opens no transaction:
 * the caller records the mesh first.
 */
FRivetMergeSlotsResult MergeMaterialSlots(USkeletalMesh* Mesh, const FRivetMergeSlotsParams& Params);
