#pragma once

#include "Core/Containers/Array.h"

class FMeshDescription;
class USkeletalMesh;

/**
 * How a skeletal mesh's geometry uses its material slots, read once by a slot operation: which LOD 0
 * polygon groups have triangles, the slot each group draws with (BuildGroupToSlotMap), and which slots a
 * render section of another LOD draws with. Every LOD's sections index the one slot array, so a slot
 * that only another LOD uses is in use all the same.
 */
struct FRivetSlotUsage
{
    /** Per LOD 0 polygon group ID, over the group ID range: 1 when a triangle uses the group. */
    TArray<uint8> bGroupUsed;
    int32 NumUsedGroups = 0;
    /** The slot of each LOD 0 polygon group (BuildGroupToSlotMap). */
    TArray<int32> GroupToSlot;
    /** Per slot of the material array: 1 when a section of a LOD other than 0 draws with it. */
    TArray<uint8> bSlotUsedByOtherLODs;

    bool IsGroupUsed(int32 Group) const
    {
        return Group >= 0 && Group < bGroupUsed.Num() && bGroupUsed[Group];
    }
    /** The slot the group draws with: its table entry, or the group itself beyond the table. */
    int32 SlotOfGroup(int32 Group) const;
    /** Per slot of the material array: 1 when a used LOD 0 group draws with it. */
    TArray<uint8> FindSlotsDrawnByLOD0(int32 NumSlots) const;
    /** Per slot of the material array: 1 when a used LOD 0 group or a section of another LOD draws with it.
     */
    TArray<uint8> FindSlotsInUse(int32 NumSlots) const;
};

/** Reads the usage of the mesh's slots; LOD0 is the mesh's LOD 0 description. One pass over its triangles. */
FRivetSlotUsage ReadSlotUsage(const USkeletalMesh& Mesh, const FMeshDescription& LOD0);

/** The slot each render section of the LOD draws with: its material map entry, else its material index. */
TArray<int32> FindSectionSlots(const USkeletalMesh& Mesh, int32 LODIndex);

/** The slot of a polygon group by a group-to-slot table: the entry, or the group itself beyond the table. */
inline int32 SlotOfGroup(const TArray<int32>& GroupToSlot, int32 Group)
{
    return Group >= 0 && Group < GroupToSlot.Num() ? GroupToSlot[Group] : Group;
}
