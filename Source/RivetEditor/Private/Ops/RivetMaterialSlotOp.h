#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"
#include "Core/Text/Text.h"
#include "MeshDescription/MeshElementID.h"
#include "RivetMaterialSlots.h"

class FMeshDescription;
class UMaterial;
class USkeletalMesh;

/** What AssignToNewSlot is asked to do. */
struct FRivetNewSlotParams
{
    /** The new slot's name; None asks for "Material_<n>". Made unique among the slots' names. */
    FName SlotName;
    /** LOD 0 triangles whose polygons move; repeats and IDs that name no triangle are skipped. */
    TArray<int32> TriangleIDs;
    /** Give the new slot the material that the first listed triangle draws with. */
    bool bCopySourceMaterial = true;
    /** The new slot's material when bCopySourceMaterial does not supply one; may be null. */
    UMaterial* Material = nullptr;
    /** After the commit, run the mesh's post-edit-change and bring the LOD 0 material map along. */
    bool bPostEditChange = true;
};

/** What AssignToExistingSlot is asked to do. */
struct FRivetExistingSlotParams
{
    int32 SlotIndex = INDEX_NONE;
    /** LOD 0 triangles whose polygons move; repeats and IDs that name no triangle are skipped. */
    TArray<int32> TriangleIDs;
    bool bPostEditChange = true;
};

/** What an assignment did, or why it did nothing. */
struct FRivetMaterialSlotResult
{
    bool bSuccess = false;
    /** Why nothing was done; empty on success. */
    FText Message;
    /** The slot that received the polygons. */
    int32 NewSlotIndex = -1;
    /** The polygon group that received the polygons. */
    int32 NewPolygonGroupIndex = -1;
    /** Entries of the triangle list that named a triangle, repeats included. */
    int32 PolygonsMoved = 0;
    /** New slot only: slots without material appended so that the new slot's index is its group's. */
    int32 FillerSlotsAdded = 0;
    /** New slot only: LOD 0 material map entries pointed at the new slot. */
    int32 LODMapEntriesFixed = 0;
    /** New slot only: an empty polygon group and its slot were taken over instead of adding new ones. */
    bool bReusedEmptyGroup = false;
    /** The receiving slot's name. */
    FName SlotName;
};

/**
 * The geometry of an assignment: moves the polygon of each listed triangle into the group (a polygon
 * moves once, with all its triangles). Entries that name no triangle are skipped. Returns the number of
 * entries that named one, repeats included. Linear in the list and the polygon array.
 */
int32 MoveTrianglePolygonsToGroup(FMeshDescription& Mesh, const TArray<int32>& TriangleIDs,
                                  FPolygonGroupID Group);

/**
 * Moves LOD 0 triangles, with their polygons, into a new material slot drawn by a polygon group of the
 * same index: an empty group whose slot nothing draws with is taken over, otherwise a group is created
 * and slots without material ("Unused_<n>") fill the gap up to its index. Logs the slot state before
 * and after. Refuses, with the mesh untouched, without a mesh, a selection or a LOD 0 description, and
 * when the new group's index would lie below the slot count (no slot could be paired with it).
 * Opens no transaction: the caller records the mesh first.
 */
FRivetMaterialSlotResult AssignToNewSlot(USkeletalMesh* Mesh, const FRivetNewSlotParams& Params);

/**
 * Moves LOD 0 triangles, with their polygons, into the first polygon group that draws with the slot.
 * Refuses, with the mesh untouched, without a mesh, a selection, the slot, a LOD 0 description or a
 * group drawing with the slot. Opens no transaction: the caller records the mesh first.
 */
FRivetMaterialSlotResult AssignToExistingSlot(USkeletalMesh* Mesh, const FRivetExistingSlotParams& Params);

/**
 * A slot name that no slot of the mesh has, as its name or its imported name (compared without regard
 * to case): the requested one ("Material_<slot count>" for None), else the first free of
 * "<name>_1", "<name>_2", ...
 */
FName MakeUniqueSlotName(const USkeletalMesh& Mesh, FName RequestedName);

/**
 * Writes the slot binding state to the log at Display level, under a label: every slot, the LOD 0
 * material map, the LOD 0 sections and every polygon group of the description with its triangles.
 */
void LogMaterialSlotState(const FString& Label, const USkeletalMesh& Mesh, const FMeshDescription& LOD0);
