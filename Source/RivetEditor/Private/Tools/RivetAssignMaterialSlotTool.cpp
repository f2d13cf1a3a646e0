#include "RivetEditor/Private/Tools/RivetAssignMaterialSlotTool.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "RivetEditor/Private/RivetSelectionMapping.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "RivetEditor/Private/Tools/RivetSelectionToolWorkflow.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <utility>

#define VT_LOCTEXT_NAMESPACE "RivetAssignMaterialSlotTool"

namespace
{
TArray<int32> TriangleIndices(const TArray<FTriangleID>& Triangles)
{
    TArray<int32> Indices;
    Indices.Reserve(Triangles.Num());
    for (const FTriangleID Triangle : Triangles)
    {
        Indices.Add(Triangle.GetValue());
    }
    return Indices;
}

/** Runs one assignment of the selection as the panel asks; the caller has recorded the mesh. */
FRivetMaterialSlotResult AssignAsAsked(USkeletalMesh& Mesh,
                                       const URivetAssignMaterialSlotToolProperties& Settings,
                                       TArray<int32> TriangleIDs)
{
    if (Settings.Target != ERivetSlotTargetMode::ExistingSlot)
    {
        FRivetNewSlotParams Params;
        Params.SlotName = Settings.SlotName.IsEmpty() ? NAME_None : FName(Settings.SlotName);
        Params.TriangleIDs = std::move(TriangleIDs);
        Params.bCopySourceMaterial = Settings.bCopySourceMaterial;
        Params.Material = nullptr;
        Params.bPostEditChange = true;
        return AssignToNewSlot(&Mesh, Params);
    }
    FRivetExistingSlotParams Params;
    Params.SlotIndex = ParseSlotOption(Settings.ExistingSlot);
    Params.TriangleIDs = std::move(TriangleIDs);
    Params.bPostEditChange = true;
    return AssignToExistingSlot(&Mesh, Params);
}
} // namespace

int32 ParseSlotOption(const FString& Option)
{
    FString Before;
    if (!Option.Split(":", &Before, nullptr))
    {
        return -1;
    }
    // Read as a C library would read a decimal number: an optional sign, then digits up to the first
    // other character. Numbers past the int32 range stay past every slot index.
    const FString Trimmed = Before.TrimStartAndEnd();
    const std::string_view Text = Trimmed.View();
    size_t At = 0;
    const bool bNegative = At < Text.size() && Text[At] == '-';
    At += At < Text.size() && (Text[At] == '-' || Text[At] == '+');
    int64 Value = 0;
    constexpr int64 Limit = int64(std::numeric_limits<int32>::max()) + 1;
    for (; At < Text.size() && std::isdigit(static_cast<unsigned char>(Text[At])); ++At)
    {
        Value = std::min(Value * 10 + (Text[At] - '0'), Limit);
    }
    return static_cast<int32>(std::clamp<int64>(bNegative ? -Value : Value, std::numeric_limits<int32>::min(),
                                                std::numeric_limits<int32>::max()));
}

UMeshSelectionTool*
URivetAssignMaterialSlotToolBuilder::CreateNewTool(const FToolBuilderState& SceneState) const
{
    return NewObject<URivetAssignMaterialSlotTool>(SceneState.ToolManager);
}

void URivetAssignMaterialSlotToolProperties::DeleteSlotNow()
{
    if (URivetAssignMaterialSlotTool* Tool = ParentTool.Get())
    {
        Tool->RequestSlotAction(ERivetSlotToolAction::DeleteSlot);
    }
}

void URivetAssignMaterialSlotToolProperties::RemoveUnusedSlotsNow()
{
    if (URivetAssignMaterialSlotTool* Tool = ParentTool.Get())
    {
        Tool->RequestSlotAction(ERivetSlotToolAction::RemoveUnusedSlots);
    }
}

void URivetAssignMaterialSlotTool::Setup()
{
    UMeshSelectionTool::Setup();
    RebuildSlotOptions();
    StartSelectionTool(*this, VT_LOCTEXT("ToolName", "Assign Material Slot"),
                       VT_LOCTEXT("ToolStartup", "Select polygons, pick New or Existing slot, then Accept."));
    const USkeletalMesh* Mesh = GetTargetSkeletalMesh();
    if (Mesh && Mesh->GetLODNum() >= 2)
    {
        ShowToolMessage(
            *this, VT_LOCTEXT("LodWarning", "This mesh has more than one LOD. Only LOD0 will be changed."),
            EToolMessageLevel::UserWarning);
    }
}

void URivetAssignMaterialSlotTool::AddSubclassPropertySets()
{
    Settings = AddSelectionToolSettings<URivetAssignMaterialSlotToolProperties>(*this);
}

UMeshSelectionToolActionPropertySet* URivetAssignMaterialSlotTool::CreateEditActions()
{
    return URivetMeshEditActions::CreateFor(this);
}

void URivetAssignMaterialSlotTool::OnTick(float DeltaTime)
{
    UMeshSelectionTool::OnTick(DeltaTime);
    if (PendingAction != 0)
    {
        RunPendingAction(static_cast<ERivetSlotToolAction>(std::exchange(PendingAction, 0)));
    }
}

void URivetAssignMaterialSlotTool::OnShutdown(EToolShutdownType ShutdownType)
{
    if (ShutdownType == EToolShutdownType::Accept)
    {
        AssignSelection();
    }
    UMeshSelectionTool::OnShutdown(ShutdownType);
}

void URivetAssignMaterialSlotTool::RebuildSlotOptions()
{
    TArray<FString>& Options = Settings->SlotNameOptions;
    Options.Reset();
    const USkeletalMesh* Mesh = GetTargetSkeletalMesh();
    if (!Mesh)
    {
        return;
    }
    const TArray<int32> Triangles = CountTrianglesPerSlot(Mesh);
    const TArray<FSkeletalMaterial>& Materials = Mesh->GetMaterials();
    for (int32 Slot = 0; Slot < Materials.Num(); ++Slot)
    {
        Options.Add(FString::Printf("%d: %s  (%d polys)", Slot, *Materials[Slot].MaterialSlotName.ToString(),
                                    Slot < Triangles.Num() ? Triangles[Slot] : 0));
    }
    if (Options.IsEmpty())
    {
        return;
    }
    for (FString* Picker : {&Settings->ExistingSlot, &Settings->SlotToDelete, &Settings->MergeIntoSlot})
    {
        if (Picker->IsEmpty())
        {
            *Picker = Options[0];
        }
    }
}

void URivetAssignMaterialSlotTool::AssignSelection()
{
    USkeletalMesh* Mesh = GetTargetSkeletalMesh();
    const UPreviewMesh* Preview = GetPreviewMesh();
    TArray<FTriangleID> Triangles;
    int32 Unmatched = 0;
    if (!GetSelection() ||
        !MapSelectionToAssetTriangles(Mesh, Preview ? Preview->GetMesh() : nullptr,
                                      GetSelection()->GetElements(EMeshSelectionElementType::Face), Triangles,
                                      Unmatched))
    {
        RefuseSelectionAction(
            *this,
            Unmatched < 1
                ? VT_LOCTEXT("NoSelection", "Select at least one polygon first. Nothing was changed.")
                : FText::Format(VT_LOCTEXT("MapFailed", "Could not match {0} selected polygon(s) to the "
                                                        "asset geometry. Nothing was changed."),
                                Unmatched));
        return;
    }

    FScopedTransaction Transaction(VT_LOCTEXT("AssignSlotTransaction", "Assign Material Slot"));
    Mesh->Modify(/*bAlwaysMarkDirty=*/true);
    const FRivetMaterialSlotResult Result = AssignAsAsked(*Mesh, *Settings, TriangleIndices(Triangles));
    if (!Result.bSuccess)
    {
        RefuseSelectionAction(*this, Result.Message);
        return;
    }
    ShowToolMessage(*this,
                    FText::Format(VT_LOCTEXT("AssignDone", "Moved {0} polygon(s) into slot {1} ('{2}')."),
                                  Result.PolygonsMoved, Result.NewSlotIndex,
                                  FText::FromName(Result.SlotName)),
                    EToolMessageLevel::UserNotification);
}

void URivetAssignMaterialSlotTool::RunPendingAction(ERivetSlotToolAction Action)
{
    USkeletalMesh* Mesh = GetTargetSkeletalMesh();
    if (!Mesh)
    {
        return;
    }
    if (Action == ERivetSlotToolAction::DeleteSlot)
    {
        DeleteSlot(*Mesh);
    }
    else if (Action == ERivetSlotToolAction::RemoveUnusedSlots)
    {
        RemoveUnusedSlots(*Mesh);
    }
    // The slots were renumbered, so the pickers start again from the new list.
    Settings->SlotToDelete.Empty();
    Settings->MergeIntoSlot.Empty();
    Settings->ExistingSlot.Empty();
    RebuildSlotOptions();
    EndSelectionTool(*this);
}

void URivetAssignMaterialSlotTool::DeleteSlot(USkeletalMesh& Mesh)
{
    FScopedTransaction Transaction(VT_LOCTEXT("DeleteSlotTransaction", "Delete Material Slot"));
    Mesh.Modify(/*bAlwaysMarkDirty=*/true);
    FRivetMergeSlotsParams Params;
    Params.SourceSlot = ParseSlotOption(Settings->SlotToDelete);
    Params.TargetSlot = ParseSlotOption(Settings->MergeIntoSlot);
    Params.bPostEditChange = true;
    const FRivetMergeSlotsResult Result = MergeMaterialSlots(&Mesh, Params);
    if (!Result.bSuccess)
    {
        RefuseSelectionAction(*this, Result.Message);
        return;
    }
    ShowToolMessage(*this,
                    FText::Format(VT_LOCTEXT("DeleteSlotDone",
                                             "Deleted {0} slot(s); moved {1} polygon(s). {2} slot(s) left."),
                                  Result.SlotsRemoved, Result.PolygonsMoved, Result.SlotsRemaining),
                    EToolMessageLevel::UserNotification);
}

void URivetAssignMaterialSlotTool::RemoveUnusedSlots(USkeletalMesh& Mesh)
{
    FScopedTransaction Transaction(VT_LOCTEXT("CleanupTransaction", "Remove Unused Material Slots"));
    Mesh.Modify(/*bAlwaysMarkDirty=*/true);
    const FRivetSlotCleanupResult Result = RemoveUnusedMaterialSlots(&Mesh, /*bPostEditChange=*/true);
    if (!Result.bSuccess)
    {
        RefuseSelectionAction(*this, Result.Message);
        return;
    }
    ShowToolMessage(*this,
                    FText::Format(VT_LOCTEXT("CleanupDone", "Removed {0} unused material slot(s); {1} left."),
                                  Result.SlotsRemoved, Result.SlotsRemaining),
                    EToolMessageLevel::UserNotification);
}

#undef VT_LOCTEXT_NAMESPACE
