#include "RivetEditor/Private/Tools/RivetDetachTool.h"

#include "Core/Text/LocText.h"
#include "CoreUObject/Misc/PackageName.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetDetachOp.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "RivetEditor/Private/Tools/RivetSelectionToolWorkflow.h"
#include "VantorEd/Assets/AssetTools.h"
#include "VantorEd/Assets/ContentBrowser.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <utility>

#define VT_LOCTEXT_NAMESPACE "RivetDetachTool"

UMeshSelectionTool* URivetDetachToolBuilder::CreateNewTool(const FToolBuilderState& SceneState) const
{
    return NewObject<URivetDetachTool>(SceneState.ToolManager);
}

void URivetDetachToolProperties::DetachNow()
{
    if (URivetDetachTool* Tool = ParentTool.Get())
    {
        Tool->RequestDetach();
    }
}

void URivetDetachTool::Setup()
{
    UMeshSelectionTool::Setup();
    StartSelectionTool(*this, VT_LOCTEXT("ToolName", "Detach"),
                       VT_LOCTEXT("ToolStartup",
                                  "Select polygons in the viewport, then press Detach Selected Polygons."));
}

void URivetDetachTool::AddSubclassPropertySets()
{
    Settings = AddSelectionToolSettings<URivetDetachToolProperties>(*this);
}

UMeshSelectionToolActionPropertySet* URivetDetachTool::CreateEditActions()
{
    return URivetMeshEditActions::CreateFor(this);
}

void URivetDetachTool::OnTick(float DeltaTime)
{
    UMeshSelectionTool::OnTick(DeltaTime);
    if (std::exchange(bPendingDetach, false))
    {
        DetachSelectedPolygons();
    }
}

void URivetDetachTool::DetachSelectedPolygons()
{
    FRivetMappedSelection Selected;
    if (!MapToolSelection(*this, VT_LOCTEXT_NAMESPACE, Selected))
    {
        return;
    }
    FRivetDetachParams Params;
    Params.TriangleIDs.Reserve(Selected.TriangleIDs.Num());
    for (const FTriangleID Triangle : Selected.TriangleIDs)
    {
        Params.TriangleIDs.Add(Triangle.GetValue());
    }
    Params.bRemoveFromSource = !Settings || Settings->bRemoveFromSource;
    Params.bPostEditChange = true;
    if (FText Refusal; !ValidateDetach(Selected.Mesh, Params, Refusal))
    {
        RefuseSelectionAction(*this, Refusal);
        return;
    }

    FAssetTools& AssetTools = FAssetTools::Get();
    FString PackageName;
    FString AssetName;
    AssetTools.CreateUniqueAssetName(Selected.Mesh->GetPackage()->GetName(), "_Part", PackageName, AssetName);

    FScopedTransaction Transaction(VT_LOCTEXT("DetachTransaction", "Detach Polygons"));
    Selected.Mesh->Modify(/*bAlwaysMarkDirty=*/true);
    USkeletalMesh* NewAsset = Cast<USkeletalMesh>(
        AssetTools.DuplicateAsset(AssetName, FPackageName::GetLongPackagePath(PackageName), Selected.Mesh));
    if (!NewAsset)
    {
        RefuseSelectionAction(*this, VT_LOCTEXT("DuplicateFailed", "Could not create the new asset. Nothing "
                                                                   "was changed."));
        return;
    }
    NewAsset->Modify(/*bAlwaysMarkDirty=*/true);
    const FRivetDetachResult Result = DetachSelection(Selected.Mesh, NewAsset, Params);
    if (!Result.bSuccess)
    {
        // The new asset stays as the detach left it; the message says what to do with it.
        RefuseSelectionAction(*this, Result.Message);
        return;
    }
    FinishDetach(Result, *NewAsset, Params.bRemoveFromSource);
}

void URivetDetachTool::FinishDetach(const FRivetDetachResult& Result, const USkeletalMesh& NewAsset,
                                    bool bRemovedFromSource)
{
    const FText SaveHint =
        bRemovedFromSource
            ? VT_LOCTEXT("SaveBoth", "Save BOTH the new asset and the source mesh to keep the change.")
            : VT_LOCTEXT("SaveNew", "Save the new asset to keep it.");
    ShowToolMessage(*this,
                    FText::Format(VT_LOCTEXT("DetachDone", "Detached {0} polygon(s) into '{1}'. {2} unused "
                                                           "material slot(s) removed. {3}"),
                                  Result.TrianglesMoved, FText::FromString(NewAsset.GetName()),
                                  Result.SlotsRemoved, SaveHint),
                    EToolMessageLevel::UserNotification);
    if (Result.LODsRemoved > 0)
    {
        ShowToolMessage(*this,
                        FText::Format(VT_LOCTEXT("LODsRemoved", "{0} extra LOD(s) were removed from the new "
                                                                "asset — only LOD0 is detached. Rebuild the "
                                                                "LODs if you need them."),
                                      Result.LODsRemoved),
                        EToolMessageLevel::UserWarning);
    }
    FContentBrowser::Get().SyncBrowserToAssets({FAssetData(&NewAsset)}, /*bAllowLockedBrowsers=*/false,
                                               /*bFocusContentBrowser=*/true, NAME_None,
                                               /*bNewSpawnBrowser=*/false);
    EndSelectionTool(*this);
}

#undef VT_LOCTEXT_NAMESPACE
