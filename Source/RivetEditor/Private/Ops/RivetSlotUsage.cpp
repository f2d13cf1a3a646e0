#include "RivetEditor/Private/Ops/RivetSlotUsage.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetMaterialSlots.h"

int32 FRivetSlotUsage::SlotOfGroup(int32 Group) const
{
    return ::SlotOfGroup(GroupToSlot, Group);
}

TArray<uint8> FRivetSlotUsage::FindSlotsDrawnByLOD0(int32 NumSlots) const
{
    TArray<uint8> bDrawn;
    bDrawn.Init(0, NumSlots);
    for (int32 Group = 0; Group < bGroupUsed.Num(); ++Group)
    {
        const int32 Slot = SlotOfGroup(Group);
        if (bGroupUsed[Group] && Slot >= 0 && Slot < NumSlots)
        {
            bDrawn[Slot] = 1;
        }
    }
    return bDrawn;
}

TArray<uint8> FRivetSlotUsage::FindSlotsInUse(int32 NumSlots) const
{
    TArray<uint8> bInUse = FindSlotsDrawnByLOD0(NumSlots);
    for (int32 Slot = 0; Slot < NumSlots && Slot < bSlotUsedByOtherLODs.Num(); ++Slot)
    {
        bInUse[Slot] |= bSlotUsedByOtherLODs[Slot];
    }
    return bInUse;
}

TArray<int32> FindSectionSlots(const USkeletalMesh& Mesh, int32 LODIndex)
{
    TArray<int32> Slots;
    const FSkeletalMeshImportedModel* Model = Mesh.GetImportedModel();
    if (!Model || !Model->LODModels.IsValidIndex(LODIndex))
    {
        return Slots;
    }
    const FSkeletalLODInfo* Info = Mesh.GetLODInfo(LODIndex);
    const TArray<FImportedSection>& Sections = Model->LODModels[LODIndex].Sections;
    Slots.Reserve(Sections.Num());
    for (int32 Section = 0; Section < Sections.Num(); ++Section)
    {
        const bool bRedirected =
            Info && Info->LODMaterialMap.IsValidIndex(Section) && Info->LODMaterialMap[Section] != INDEX_NONE;
        Slots.Add(bRedirected ? Info->LODMaterialMap[Section] : Sections[Section].MaterialIndex);
    }
    return Slots;
}

FRivetSlotUsage ReadSlotUsage(const USkeletalMesh& Mesh, const FMeshDescription& LOD0)
{
    FRivetSlotUsage Usage;
    Usage.bGroupUsed.Init(0, LOD0.PolygonGroups().GetArraySize());
    for (const FTriangleID Triangle : LOD0.Triangles().GetElementIDs())
    {
        uint8& bUsed = Usage.bGroupUsed[LOD0.GetTrianglePolygonGroup(Triangle).GetValue()];
        Usage.NumUsedGroups += bUsed == 0;
        bUsed = 1;
    }
    Usage.GroupToSlot = BuildGroupToSlotMap(&Mesh);

    const int32 NumSlots = Mesh.GetMaterials().Num();
    Usage.bSlotUsedByOtherLODs.Init(0, NumSlots);
    for (int32 LOD = 1; LOD < Mesh.GetLODNum(); ++LOD)
    {
        for (const int32 Slot : FindSectionSlots(Mesh, LOD))
        {
            if (Slot >= 0 && Slot < NumSlots)
            {
                Usage.bSlotUsedByOtherLODs[Slot] = 1;
            }
        }
    }
    return Usage;
}
