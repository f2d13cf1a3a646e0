#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditor/Private/Ops/RivetSlotUsage.h"
#include "RivetEditorLog.h"

#define VT_LOCTEXT_NAMESPACE "RivetMergeSlotsOp"

namespace
{
template <typename ResultType>
ResultType Refuse(FText Message)
{
    ResultType Result;
    Result.Message = std::move(Message);
    return Result;
}

FText NoMeshText()
{
    return VT_LOCTEXT("NoMesh", "No skeletal mesh.");
}

FText NoMeshDescriptionText()
{
    return VT_LOCTEXT("NoMeshDescription", "This mesh has no editable source geometry.");
}

/** The slots that a section of another LOD draws with and no used LOD 0 group does, in slot order. */
TArray<int32> FindSlotsOnlyOtherLODsDraw(const FRivetSlotUsage& Usage, int32 NumSlots)
{
    const TArray<uint8> bDrawnByLOD0 = Usage.FindSlotsDrawnByLOD0(NumSlots);
    TArray<int32> Slots;
    for (int32 Slot = 0; Slot < NumSlots; ++Slot)
    {
        if (Usage.bSlotUsedByOtherLODs[Slot] && !bDrawnByLOD0[Slot])
        {
            Slots.Add(Slot);
        }
    }
    return Slots;
}

/**
 * Why the cleanup cannot rebuild the slots for this usage, with its Warning line; empty when it can.
 * The rebuild keeps a slot per used group and each slot only other LODs draw with: more than the mesh
 * has would add slots. A used group whose slot does not exist would leave its new slot to a guess.
 */
FText CheckCleanup(const FRivetSlotUsage& Usage, int32 NumGroups, int32 NumSlots)
{
    if (Usage.NumUsedGroups == 0)
    {
        return VT_LOCTEXT("NoTriangles", "This mesh has no triangles.");
    }
    const int32 SlotsNeeded = Usage.NumUsedGroups + FindSlotsOnlyOtherLODsDraw(Usage, NumSlots).Num();
    if (SlotsNeeded > NumSlots)
    {
        VT_LOG(LogRivetEditor, Warning, "[RivetEditor] Cleanup aborted: %d groups > %d materials",
               SlotsNeeded, NumSlots);
        return FText::Format(
            VT_LOCTEXT("WouldAddSlots",
                       "This mesh uses {0} geometry groups but has only {1} material slots, so cleaning up "
                       "would add slots instead of removing them. Nothing was changed. Reimport the mesh to "
                       "rebuild its material bindings."),
            SlotsNeeded, NumSlots);
    }
    int32 Unbound = 0;
    for (int32 Group = 0; Group < Usage.bGroupUsed.Num(); ++Group)
    {
        const int32 Slot = Usage.SlotOfGroup(Group);
        Unbound += Usage.bGroupUsed[Group] && (Slot < 0 || Slot >= NumSlots);
    }
    if (Unbound > 0)
    {
        VT_LOG(LogRivetEditor, Warning,
               "[RivetEditor] Cleanup aborted: %d groups have no material found (groups=%d, materials=%d)",
               Unbound, NumGroups, NumSlots);
        return FText::Format(
            VT_LOCTEXT("InconsistentBindings",
                       "This mesh has {0} geometry group(s) with no matching material slot, so cleaning up "
                       "would guess at the result. Nothing was changed. Reimport the mesh to rebuild its "
                       "material bindings."),
            Unbound);
    }
    return FText();
}

TArray<FPolygonGroupID> FindEmptyGroups(const FMeshDescription& Description, const FRivetSlotUsage& Usage)
{
    TArray<FPolygonGroupID> Empty;
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        if (!Usage.IsGroupUsed(Group.GetValue()))
        {
            Empty.Add(Group);
        }
    }
    return Empty;
}

/**
 * True when the slots need no rebuild: no group ID is missing below the highest, every slot is drawn with,
 * and the groups without triangles are exactly one for each slot that only other LODs draw with, at that
 * slot's index (a group draws nothing, but keeps the slot's index paired with a group of its own).
 */
bool IsClean(const FMeshDescription& Description, const FRivetSlotUsage& Usage,
             const TArray<int32>& OtherLODSlots, int32 NumSlots)
{
    if (Usage.GroupToSlot.Num() != Description.PolygonGroups().Num() ||
        Usage.FindSlotsInUse(NumSlots).Contains(0))
    {
        return false;
    }
    int32 EmptyGroups = 0;
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        if (!Usage.IsGroupUsed(Group.GetValue()))
        {
            if (!OtherLODSlots.Contains(Group.GetValue()))
            {
                return false;
            }
            ++EmptyGroups;
        }
    }
    return EmptyGroups == OtherLODSlots.Num();
}

/**
 * Names every rebuilt slot that has no imported name after its polygon group (or "Material_<k>"), both
 * names alike, then gives each group its slot's imported name.
 */
void NameRebuiltSlots(TArray<FSkeletalMaterial>& Slots, FMeshDescription& Description)
{
    TMeshAttributesRef<FPolygonGroupID, FName> GroupNames =
        FSkeletalMeshAttributes(Description).GetPolygonGroupMaterialSlotNames();
    VT_CHECKF(GroupNames.IsValid(), "a skeletal mesh description names each polygon group's material slot");
    for (int32 Index = 0; Index < Slots.Num(); ++Index)
    {
        FSkeletalMaterial& Slot = Slots[Index];
        if (!Slot.ImportedMaterialSlotName.IsNone())
        {
            continue;
        }
        const FPolygonGroupID Group(Index);
        FName Name = Description.PolygonGroups().IsValid(Group) ? GroupNames[Group] : NAME_None;
        if (Name.IsNone())
        {
            Name = FName(FString::Printf("Material_%d", Index));
        }
        Slot.MaterialSlotName = Slot.ImportedMaterialSlotName = Name;
    }
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        if (Group.GetValue() < Slots.Num())
        {
            GroupNames[Group] = Slots[Group.GetValue()].ImportedMaterialSlotName;
        }
    }
}

/**
 * Points every section of the other LODs at the new index of the slot it drew with (NewSlotOfOldSlot),
 * writing a material map entry only where the slot's index changed.
 */
void FollowRenumberedSlots(USkeletalMesh& Mesh, const TArray<int32>& NewSlotOfOldSlot)
{
    for (int32 LOD = 1; LOD < Mesh.GetLODNum(); ++LOD)
    {
        const TArray<int32> SectionSlots = FindSectionSlots(Mesh, LOD);
        TArray<int32>& Map = Mesh.GetLODInfo(LOD)->LODMaterialMap;
        for (int32 Section = 0; Section < SectionSlots.Num(); ++Section)
        {
            const int32 OldSlot = SectionSlots[Section];
            const int32 NewSlot =
                NewSlotOfOldSlot.IsValidIndex(OldSlot) ? NewSlotOfOldSlot[OldSlot] : INDEX_NONE;
            if (NewSlot == INDEX_NONE || NewSlot == OldSlot)
            {
                continue;
            }
            if (Map.Num() <= Section)
            {
                Map.SetNum(Section + 1, INDEX_NONE);
            }
            Map[Section] = NewSlot;
        }
    }
}

/**
 * The rebuilt slots: a copy of each used group's slot at the group's new index, then each slot that only
 * other LODs draw with. NewSlotOfOldSlot gets the new index of each old slot that is kept (its first
 * copy).
 */
TArray<FSkeletalMaterial> RebuildSlotArray(const TArray<FSkeletalMaterial>& OldMaterials,
                                           const FRivetSlotUsage& Usage,
                                           const TArray<int32>& NewGroupOfOldGroup, int32 NumGroups,
                                           const TArray<int32>& OtherLODSlots,
                                           TArray<int32>& NewSlotOfOldSlot)
{
    TArray<FSkeletalMaterial> NewMaterials;
    NewMaterials.SetNum(NumGroups);
    NewSlotOfOldSlot.Init(INDEX_NONE, OldMaterials.Num());
    for (int32 Group = 0; Group < Usage.bGroupUsed.Num(); ++Group)
    {
        const int32 NewGroup = Usage.bGroupUsed[Group] ? NewGroupOfOldGroup[Group] : INDEX_NONE;
        const int32 Slot = Usage.SlotOfGroup(Group);
        if (!NewMaterials.IsValidIndex(NewGroup) || !OldMaterials.IsValidIndex(Slot))
        {
            continue;
        }
        NewMaterials[NewGroup] = OldMaterials[Slot];
        if (NewSlotOfOldSlot[Slot] == INDEX_NONE)
        {
            NewSlotOfOldSlot[Slot] = NewGroup;
        }
    }
    for (const int32 Slot : OtherLODSlots)
    {
        NewSlotOfOldSlot[Slot] = NewMaterials.Num();
        NewMaterials.Add(OldMaterials[Slot]);
    }
    return NewMaterials;
}

/** Steps of the rebuild once the checks passed; the mesh's description is recorded here. */
FRivetSlotCleanupResult RebuildSlots(USkeletalMesh& Mesh, FMeshDescription& Description,
                                     const FRivetSlotUsage& Usage, bool bPostEditChange)
{
    const TArray<FSkeletalMaterial> OldMaterials = Mesh.GetMaterials();
    const TArray<int32> OtherLODSlots = FindSlotsOnlyOtherLODsDraw(Usage, OldMaterials.Num());
    FRivetSlotCleanupResult Result;
    if (IsClean(Description, Usage, OtherLODSlots, OldMaterials.Num()))
    {
        Result.SlotsRemaining = OldMaterials.Num();
        Result.bSuccess = true;
        return Result;
    }

    Mesh.ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    const TArray<int32> NewGroupOfOldGroup =
        DeletePolygonGroupsAndCompact(Description, FindEmptyGroups(Description, Usage));
    TArray<int32> NewSlotOfOldSlot;
    TArray<FSkeletalMaterial> NewMaterials =
        RebuildSlotArray(OldMaterials, Usage, NewGroupOfOldGroup, Description.PolygonGroups().Num(),
                         OtherLODSlots, NewSlotOfOldSlot);
    // Each slot that only other LODs draw with keeps a group of its index, without triangles.
    for (int32 Slot = Description.PolygonGroups().Num(); Slot < NewMaterials.Num(); ++Slot)
    {
        Description.CreatePolygonGroup();
    }
    NameRebuiltSlots(NewMaterials, Description);
    VT_CHECKF(NewMaterials.Num() <= OldMaterials.Num(), "Cleanup added slots (%d -> %d)", OldMaterials.Num(),
              NewMaterials.Num());

    Result.SlotsRemoved = OldMaterials.Num() - NewMaterials.Num();
    Mesh.SetMaterials(std::move(NewMaterials));
    Result.SlotsRemaining = Mesh.GetMaterials().Num();
    if (FSkeletalLODInfo* Info = Mesh.GetLODInfo(0))
    {
        Info->LODMaterialMap.Empty();
    }
    FollowRenumberedSlots(Mesh, NewSlotOfOldSlot);
    CommitLOD0(Mesh, /*bPostEditChange=*/false);
    if (bPostEditChange)
    {
        Mesh.InvalidateDeriveDataCacheGUID();
        Mesh.PostEditChange();
    }
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Cleanup: %d slots removed, %d remaining",
           Result.SlotsRemoved, Result.SlotsRemaining);
    Result.bSuccess = true;
    return Result;
}

/**
 * The group whose polygons a merge moves: the first group with triangles that draws with the slot, or,
 * when no such group has any, the first group that draws with it. An empty group bound to the slot
 * by its index must not hide the group that really draws with it.
 */
FPolygonGroupID FindSourceGroup(const FMeshDescription& Description, const FRivetSlotUsage& Usage, int32 Slot)
{
    FPolygonGroupID Empty = FPolygonGroupID::Invalid();
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        if (Usage.SlotOfGroup(Group.GetValue()) != Slot)
        {
            continue;
        }
        if (Usage.IsGroupUsed(Group.GetValue()))
        {
            return Group;
        }
        if (Empty == FPolygonGroupID::Invalid())
        {
            Empty = Group;
        }
    }
    return Empty;
}

FPolygonGroupID FindFirstGroupOfSlot(const FMeshDescription& Description, const FRivetSlotUsage& Usage,
                                     int32 Slot)
{
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        if (Usage.SlotOfGroup(Group.GetValue()) == Slot)
        {
            return Group;
        }
    }
    return FPolygonGroupID::Invalid();
}

/**
 * The usage after a merge moved the source group's polygons: the source group is left without
 * triangles and the target group has them. The other bindings do not move: every group keeps its
 * material map entry through the commit, and an empty target group draws with its own index, which is
 * the target slot.
 */
FRivetSlotUsage UsageAfterMerge(FRivetSlotUsage Usage, FPolygonGroupID Source, FPolygonGroupID Target)
{
    if (Source != FPolygonGroupID::Invalid() && Usage.IsGroupUsed(Source.GetValue()))
    {
        Usage.bGroupUsed[Source.GetValue()] = 0;
        if (!Usage.IsGroupUsed(Target.GetValue()))
        {
            Usage.bGroupUsed[Target.GetValue()] = 1;
        }
        else
        {
            --Usage.NumUsedGroups;
        }
    }
    return Usage;
}
} // namespace

int32 MovePolygonGroupPolygons(FMeshDescription& Mesh, FPolygonGroupID From, FPolygonGroupID To)
{
    TArray<FPolygonID> Polygons;
    for (const FPolygonID Polygon : Mesh.GetPolygonGroupPolygonIDs(From))
    {
        Polygons.Add(Polygon);
    }
    for (const FPolygonID Polygon : Polygons)
    {
        Mesh.SetPolygonPolygonGroup(Polygon, To);
    }
    return Polygons.Num();
}

TArray<int32> DeletePolygonGroupsAndCompact(FMeshDescription& Mesh, const TArray<FPolygonGroupID>& Groups)
{
    for (const FPolygonGroupID Group : Groups)
    {
        Mesh.DeletePolygonGroup(Group);
    }
    return Mesh.Compact().NewPolygonGroupIndexLookup;
}

FRivetSlotCleanupResult RemoveUnusedMaterialSlots(USkeletalMesh* Mesh, bool bPostEditChange)
{
    if (!Mesh)
    {
        return Refuse<FRivetSlotCleanupResult>(NoMeshText());
    }
    FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Refuse<FRivetSlotCleanupResult>(NoMeshDescriptionText());
    }
    const FRivetSlotUsage Usage = ReadSlotUsage(*Mesh, *Description);
    if (FText Refusal = CheckCleanup(Usage, Description->PolygonGroups().Num(), Mesh->GetMaterials().Num());
        !Refusal.IsEmpty())
    {
        return Refuse<FRivetSlotCleanupResult>(std::move(Refusal));
    }
    return RebuildSlots(*Mesh, *Description, Usage, bPostEditChange);
}

FRivetMergeSlotsResult MergeMaterialSlots(USkeletalMesh* Mesh, const FRivetMergeSlotsParams& Params)
{
    if (!Mesh)
    {
        return Refuse<FRivetMergeSlotsResult>(NoMeshText());
    }
    if (Params.SourceSlot == Params.TargetSlot)
    {
        return Refuse<FRivetMergeSlotsResult>(VT_LOCTEXT("SameSlot", "Pick a different slot to merge into."));
    }
    const TArray<FSkeletalMaterial>& Materials = Mesh->GetMaterials();
    if (!Materials.IsValidIndex(Params.SourceSlot) || !Materials.IsValidIndex(Params.TargetSlot))
    {
        return Refuse<FRivetMergeSlotsResult>(VT_LOCTEXT("BadSlot", "That material slot no longer exists."));
    }
    FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Refuse<FRivetMergeSlotsResult>(NoMeshDescriptionText());
    }
    const FName TargetName = Materials[Params.TargetSlot].ImportedMaterialSlotName;
    const FRivetSlotUsage Usage = ReadSlotUsage(*Mesh, *Description);
    const FPolygonGroupID Source = FindSourceGroup(*Description, Usage, Params.SourceSlot);
    const FPolygonGroupID Target = FindFirstGroupOfSlot(*Description, Usage, Params.TargetSlot);
    if (Target == FPolygonGroupID::Invalid())
    {
        return Refuse<FRivetMergeSlotsResult>(
            VT_LOCTEXT("NoTargetGroup", "The target slot has no geometry group to merge into."));
    }
    // The cleanup that ends the merge must not refuse after the merge was committed.
    if (FText Refusal = CheckCleanup(UsageAfterMerge(Usage, Source, Target),
                                     Description->PolygonGroups().Num(), Materials.Num());
        !Refusal.IsEmpty())
    {
        return Refuse<FRivetMergeSlotsResult>(std::move(Refusal));
    }

    Mesh->ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    FRivetMergeSlotsResult Result;
    if (Source != FPolygonGroupID::Invalid())
    {
        Result.PolygonsMoved = MovePolygonGroupPolygons(*Description, Source, Target);
    }
    CommitLOD0(*Mesh, /*bPostEditChange=*/false);

    const FRivetSlotCleanupResult Cleanup = RemoveUnusedMaterialSlots(Mesh, Params.bPostEditChange);
    if (!Cleanup.bSuccess)
    {
        Result.Message = Cleanup.Message;
        return Result;
    }
    Result.SlotsRemoved = Cleanup.SlotsRemoved;
    Result.SlotsRemaining = Cleanup.SlotsRemaining;
    Result.NewTargetSlot = Mesh->GetMaterials().IndexOfByPredicate(
        [TargetName](const FSkeletalMaterial& Slot) { return Slot.ImportedMaterialSlotName == TargetName; });
    Result.bSuccess = true;
    return Result;
}

#undef VT_LOCTEXT_NAMESPACE
