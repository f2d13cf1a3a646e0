#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditor/Private/Ops/RivetSlotUsage.h"
#include "RivetEditorLog.h"

#include <algorithm>

#define VT_LOCTEXT_NAMESPACE "RivetMaterialSlotOp"

namespace
{
int32 PolygonGroupIDRange(const FMeshDescription& Description)
{
    int32 Range = 0;
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        Range = std::max(Range, Group.GetValue() + 1);
    }
    return Range;
}

const FImportedLODModel* FirstLODModel(const USkeletalMesh& Mesh)
{
    const FSkeletalMeshImportedModel* Model = Mesh.GetImportedModel();
    return Model && Model->LODModels.Num() > 0 ? &Model->LODModels[0] : nullptr;
}

FRivetMaterialSlotResult Refuse(FText Message)
{
    FRivetMaterialSlotResult Result;
    Result.Message = std::move(Message);
    return Result;
}

TMeshAttributesRef<FPolygonGroupID, FName> GroupSlotNames(FMeshDescription& Description)
{
    TMeshAttributesRef<FPolygonGroupID, FName> Names =
        FSkeletalMeshAttributes(Description).GetPolygonGroupMaterialSlotNames();
    VT_CHECKF(Names.IsValid(), "a skeletal mesh description names each polygon group's material slot");
    return Names;
}

/**
 * The first existing polygon group that has no triangle and whose index is a slot that nothing draws
 * with (no used group through the LOD 0 map, no section of another LOD); INDEX_NONE when there is none.
 * Taking over a slot that something draws with would change that geometry's look and slot name.
 */
int32 FindReusableEmptyGroup(const FMeshDescription& Description, const FRivetSlotUsage& Usage,
                             int32 NumSlots)
{
    const TArray<uint8> bSlotInUse = Usage.FindSlotsInUse(NumSlots);
    for (const FPolygonGroupID Group : Description.PolygonGroups().GetElementIDs())
    {
        const int32 Index = Group.GetValue();
        if (Index < NumSlots && !Usage.IsGroupUsed(Index) && !bSlotInUse[Index])
        {
            return Index;
        }
    }
    return INDEX_NONE;
}

/** The ID that the description's next new polygon group gets: the lowest free one, else one past the end. */
int32 PredictNewPolygonGroupID(const FMeshDescription& Description)
{
    const int32 Size = Description.PolygonGroups().GetArraySize();
    for (int32 Index = 0; Index < Size; ++Index)
    {
        if (!Description.PolygonGroups().IsValid(FPolygonGroupID(Index)))
        {
            return Index;
        }
    }
    return Size;
}

/** The material the first listed triangle draws with, when asked for and found; the parameter's otherwise. */
UMaterial* ChooseNewSlotMaterial(const USkeletalMesh& Mesh, const FMeshDescription& Description,
                                 const FRivetSlotUsage& Usage, const FRivetNewSlotParams& Params)
{
    if (!Params.bCopySourceMaterial)
    {
        return Params.Material;
    }
    const FTriangleID First(Params.TriangleIDs[0]);
    if (!Description.Triangles().IsValid(First))
    {
        return Params.Material;
    }
    const int32 Slot = Usage.SlotOfGroup(Description.GetTrianglePolygonGroup(First).GetValue());
    const TArray<FSkeletalMaterial>& Materials = Mesh.GetMaterials();
    return Materials.IsValidIndex(Slot) ? Materials[Slot].Material.Get() : Params.Material;
}

/** Gives the new slot a polygon group of its own index, taking over an empty one or creating one. */
void PairNewSlotWithGroup(USkeletalMesh& Mesh, FMeshDescription& Description, int32 ReusableGroup,
                          const FSkeletalMaterial& NewSlot, FRivetMaterialSlotResult& Result)
{
    TArray<FSkeletalMaterial>& Materials = Mesh.GetMaterials();
    if (ReusableGroup != INDEX_NONE)
    {
        FSkeletalMaterial& Slot = Materials[ReusableGroup];
        Slot.Material = NewSlot.Material;
        Slot.MaterialSlotName = NewSlot.MaterialSlotName;
        Slot.ImportedMaterialSlotName = NewSlot.ImportedMaterialSlotName;
        Result.bReusedEmptyGroup = true;
        Result.NewSlotIndex = Result.NewPolygonGroupIndex = ReusableGroup;
        return;
    }
    Result.NewPolygonGroupIndex = Description.CreatePolygonGroup().GetValue();
    while (Materials.Num() < Result.NewPolygonGroupIndex)
    {
        const FName FillerName =
            MakeUniqueSlotName(Mesh, FName(FString::Printf("Unused_%d", Materials.Num())));
        Materials.Add(FSkeletalMaterial(nullptr, FillerName, FillerName));
        ++Result.FillerSlotsAdded;
    }
    Materials.Add(NewSlot);
    Result.NewSlotIndex = Materials.Num() - 1;
}

/**
 * Points the LOD 0 material map entry of the new group's section at the new slot, when the map is in
 * use; runs a second post-edit-change when an entry changed. Runs after the first post-edit-change.
 */
void FixUpLOD0MaterialMap(USkeletalMesh& Mesh, FRivetMaterialSlotResult& Result)
{
    FSkeletalLODInfo* Info = Mesh.GetLODInfo(0);
    const FImportedLODModel* LODModel = FirstLODModel(Mesh);
    if (!Info || !LODModel || Info->LODMaterialMap.IsEmpty())
    {
        return;
    }
    TArray<int32>& Map = Info->LODMaterialMap;
    for (int32 Section = 0; Section < LODModel->Sections.Num() && Section < Map.Num(); ++Section)
    {
        if (LODModel->Sections[Section].MaterialIndex == Result.NewPolygonGroupIndex &&
            Map[Section] != Result.NewSlotIndex)
        {
            Map[Section] = Result.NewSlotIndex;
            ++Result.LODMapEntriesFixed;
        }
    }
    if (Result.LODMapEntriesFixed > 0)
    {
        VT_LOG(LogRivetEditor, Display,
               "[RivetEditor] LODMaterialMap: %d entries fixed (new section -> material %d)",
               Result.LODMapEntriesFixed, Result.NewSlotIndex);
        Mesh.PostEditChange();
    }
}

/** The refusals common to both assignments, in their order; empty when the call may go on. */
FText CheckAssignment(const USkeletalMesh* Mesh, const TArray<int32>& TriangleIDs)
{
    if (!Mesh)
    {
        return VT_LOCTEXT("NoMesh", "No skeletal mesh.");
    }
    if (TriangleIDs.IsEmpty())
    {
        return VT_LOCTEXT("EmptySelection", "Select at least one polygon first.");
    }
    return FText();
}

FText NoMeshDescriptionText()
{
    return VT_LOCTEXT("NoMeshDescription", "This mesh has no editable source geometry.");
}
} // namespace

TArray<int32> BuildGroupToSlotMap(const USkeletalMesh* Mesh)
{
    const FMeshDescription* Description = Mesh ? Mesh->GetMeshDescription(0) : nullptr;
    if (!Description)
    {
        return {};
    }
    TArray<int32> GroupToSlot;
    const int32 Range = PolygonGroupIDRange(*Description);
    GroupToSlot.Reserve(Range);
    for (int32 Group = 0; Group < Range; ++Group)
    {
        GroupToSlot.Add(Group);
    }

    const FSkeletalLODInfo* LODInfo = Mesh->GetLODInfo(0);
    const FImportedLODModel* LODModel = FirstLODModel(*Mesh);
    if (!LODInfo || !LODModel)
    {
        return GroupToSlot;
    }
    const TArray<int32>& LODMaterialMap = LODInfo->LODMaterialMap;
    for (int32 Section = 0; Section < LODModel->Sections.Num(); ++Section)
    {
        const int32 Group = LODModel->Sections[Section].MaterialIndex;
        if (Group < GroupToSlot.Num() && Section < LODMaterialMap.Num() &&
            LODMaterialMap[Section] != INDEX_NONE)
        {
            GroupToSlot[Group] = LODMaterialMap[Section];
        }
    }
    return GroupToSlot;
}

TArray<int32> CountTrianglesPerSlot(const USkeletalMesh* Mesh)
{
    if (!Mesh)
    {
        return {};
    }
    TArray<int32> Counts;
    Counts.SetNum(Mesh->GetMaterials().Num(), 0);
    const FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Counts;
    }
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(Mesh);
    for (const FTriangleID Triangle : Description->Triangles().GetElementIDs())
    {
        const int32 Slot =
            SlotOfGroup(GroupToSlot, Description->GetTrianglePolygonGroup(Triangle).GetValue());
        if (Slot >= 0 && Slot < Counts.Num())
        {
            ++Counts[Slot];
        }
    }
    return Counts;
}

FName MakeUniqueSlotName(const USkeletalMesh& Mesh, FName RequestedName)
{
    const TArray<FSkeletalMaterial>& Materials = Mesh.GetMaterials();
    const FString Base =
        RequestedName.IsNone() ? FString::Printf("Material_%d", Materials.Num()) : RequestedName.ToString();
    const auto IsTaken = [&Materials](FName Candidate)
    {
        return Materials.ContainsByPredicate(
            [Candidate](const FSkeletalMaterial& Slot)
            { return Slot.MaterialSlotName == Candidate || Slot.ImportedMaterialSlotName == Candidate; });
    };
    FName Candidate(Base);
    for (int32 Suffix = 1; IsTaken(Candidate); ++Suffix)
    {
        Candidate = FName(FString::Printf("%s_%d", *Base, Suffix));
    }
    return Candidate;
}

int32 MoveTrianglePolygonsToGroup(FMeshDescription& Mesh, const TArray<int32>& TriangleIDs,
                                  FPolygonGroupID Group)
{
    TArray<uint8> bMoved;
    bMoved.Init(0, Mesh.Polygons().GetArraySize());
    int32 Named = 0;
    for (const int32 ID : TriangleIDs)
    {
        const FTriangleID Triangle(ID);
        if (!Mesh.Triangles().IsValid(Triangle))
        {
            continue;
        }
        const FPolygonID Polygon = Mesh.GetTrianglePolygon(Triangle);
        if (!bMoved[Polygon.GetValue()])
        {
            bMoved[Polygon.GetValue()] = 1;
            Mesh.SetPolygonPolygonGroup(Polygon, Group);
        }
        ++Named;
    }
    return Named;
}

FRivetMaterialSlotResult AssignToNewSlot(USkeletalMesh* Mesh, const FRivetNewSlotParams& Params)
{
    if (FText Refusal = CheckAssignment(Mesh, Params.TriangleIDs); !Refusal.IsEmpty())
    {
        return Refuse(std::move(Refusal));
    }
    FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Refuse(NoMeshDescriptionText());
    }
    const FRivetSlotUsage Usage = ReadSlotUsage(*Mesh, *Description);
    const int32 NumSlots = Mesh->GetMaterials().Num();
    const int32 ReusableGroup = FindReusableEmptyGroup(*Description, Usage, NumSlots);
    const int32 NewGroup = PredictNewPolygonGroupID(*Description);
    if (ReusableGroup == INDEX_NONE && NumSlots > NewGroup)
    {
        VT_LOG(LogRivetEditor, Warning, "[RivetEditor] New slot refused: %d slots > new group %d", NumSlots,
               NewGroup);
        return Refuse(FText::Format(
            VT_LOCTEXT("SlotGroupMismatch",
                       "This mesh has {0} material slots but its new geometry group would be number {1}, so "
                       "the new slot could not be paired with it. Nothing was changed. Press Remove Unused "
                       "Slots first, then try again."),
            NumSlots, NewGroup));
    }

    LogMaterialSlotState("BEFORE", *Mesh, *Description);
    Mesh->ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    TMeshAttributesRef<FPolygonGroupID, FName> GroupNames = GroupSlotNames(*Description);
    const FName Name = MakeUniqueSlotName(*Mesh, Params.SlotName);
    const FSkeletalMaterial NewSlot(ChooseNewSlotMaterial(*Mesh, *Description, Usage, Params), Name, Name);

    FRivetMaterialSlotResult Result;
    PairNewSlotWithGroup(*Mesh, *Description, ReusableGroup, NewSlot, Result);
    VT_CHECKF(Result.NewSlotIndex == Result.NewPolygonGroupIndex,
              "the new slot %d is not drawn by its polygon group %d", Result.NewSlotIndex,
              Result.NewPolygonGroupIndex);
    const FPolygonGroupID Group(Result.NewPolygonGroupIndex);
    GroupNames[Group] = Name;
    Result.PolygonsMoved = MoveTrianglePolygonsToGroup(*Description, Params.TriangleIDs, Group);

    LogMaterialSlotState("AFTER", *Mesh, *Description);
    CommitLOD0(*Mesh, Params.bPostEditChange);
    if (Params.bPostEditChange)
    {
        FixUpLOD0MaterialMap(*Mesh, Result);
    }
    Result.SlotName = Name;
    Result.bSuccess = true;
    return Result;
}

FRivetMaterialSlotResult AssignToExistingSlot(USkeletalMesh* Mesh, const FRivetExistingSlotParams& Params)
{
    if (FText Refusal = CheckAssignment(Mesh, Params.TriangleIDs); !Refusal.IsEmpty())
    {
        return Refuse(std::move(Refusal));
    }
    if (!Mesh->GetMaterials().IsValidIndex(Params.SlotIndex))
    {
        return Refuse(VT_LOCTEXT("BadSlot", "That material slot no longer exists."));
    }
    FMeshDescription* Description = Mesh->GetMeshDescription(0);
    if (!Description)
    {
        return Refuse(NoMeshDescriptionText());
    }
    const TArray<int32> GroupToSlot = BuildGroupToSlotMap(Mesh);
    FPolygonGroupID Target = FPolygonGroupID::Invalid();
    for (const FPolygonGroupID Group : Description->PolygonGroups().GetElementIDs())
    {
        if (SlotOfGroup(GroupToSlot, Group.GetValue()) == Params.SlotIndex)
        {
            Target = Group;
            break;
        }
    }
    if (Target == FPolygonGroupID::Invalid())
    {
        return Refuse(
            VT_LOCTEXT("NoGroupForSlot", "That material slot has no geometry group to move polygons into."));
    }

    Mesh->ModifyMeshDescription(0, /*bAlwaysMarkDirty=*/true);
    FRivetMaterialSlotResult Result;
    Result.PolygonsMoved = MoveTrianglePolygonsToGroup(*Description, Params.TriangleIDs, Target);
    CommitLOD0(*Mesh, Params.bPostEditChange);
    Result.NewSlotIndex = Params.SlotIndex;
    Result.NewPolygonGroupIndex = Target.GetValue();
    Result.SlotName = Mesh->GetMaterials()[Params.SlotIndex].MaterialSlotName;
    Result.bSuccess = true;
    return Result;
}

void LogMaterialSlotState(const FString& Label, const USkeletalMesh& Mesh, const FMeshDescription& LOD0)
{
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] === %s ===", *Label);
    const TArray<FSkeletalMaterial>& Materials = Mesh.GetMaterials();
    for (int32 Slot = 0; Slot < Materials.Num(); ++Slot)
    {
        const FSkeletalMaterial& Material = Materials[Slot];
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] Material[%d] slot='%s' imported='%s' material='%s'",
               Slot, *Material.MaterialSlotName.ToString(), *Material.ImportedMaterialSlotName.ToString(),
               Material.Material ? *Material.Material->GetName() : "NULL");
    }
    if (const FSkeletalLODInfo* Info = Mesh.GetLODInfo(0))
    {
        FString Entries;
        for (const int32 Entry : Info->LODMaterialMap)
        {
            Entries += FString::Printf("%d ", Entry);
        }
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] LODMaterialMap (LOD0) num=%d: %s",
               Info->LODMaterialMap.Num(), Entries.IsEmpty() ? "(empty)" : *Entries);
    }
    if (const FImportedLODModel* LODModel = FirstLODModel(Mesh))
    {
        for (int32 Section = 0; Section < LODModel->Sections.Num(); ++Section)
        {
            VT_LOG(LogRivetEditor, Display, "[RivetEditor] Section[%d] MaterialIndex=%d triangles=%d",
                   Section, LODModel->Sections[Section].MaterialIndex,
                   LODModel->Sections[Section].NumTriangles);
        }
    }
    TArray<int32> TrianglesPerGroup;
    TrianglesPerGroup.Init(0, LOD0.PolygonGroups().GetArraySize());
    for (const FTriangleID Triangle : LOD0.Triangles().GetElementIDs())
    {
        ++TrianglesPerGroup[LOD0.GetTrianglePolygonGroup(Triangle).GetValue()];
    }
    const TMeshAttributesConstRef<FPolygonGroupID, FName> GroupNames =
        FSkeletalMeshAttributesShared(LOD0).GetPolygonGroupMaterialSlotNames();
    for (const FPolygonGroupID Group : LOD0.PolygonGroups().GetElementIDs())
    {
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] PolygonGroup[%d] slotName='%s' triangles=%d",
               Group.GetValue(), GroupNames.IsValid() ? *GroupNames[Group].ToString() : "None",
               TrianglesPerGroup[Group.GetValue()]);
    }
}

#undef VT_LOCTEXT_NAMESPACE
