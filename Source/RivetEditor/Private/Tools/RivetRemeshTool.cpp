#include "RivetEditor/Private/Tools/RivetRemeshTool.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetRemeshOp.h"
#include "RivetEditor/Private/Ops/RivetRemeshRegion.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "RivetEditor/Private/Tools/RivetSelectionToolWorkflow.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <utility>

#define VT_LOCTEXT_NAMESPACE "RivetRemeshTool"

UMeshSelectionTool* URivetRemeshToolBuilder::CreateNewTool(const FToolBuilderState& SceneState) const
{
    return NewObject<URivetRemeshTool>(SceneState.ToolManager);
}

void URivetRemeshToolProperties::RemeshNow()
{
    if (URivetRemeshTool* Tool = ParentTool.Get())
    {
        Tool->RequestRemesh();
    }
}

void URivetRemeshTool::Setup()
{
    UMeshSelectionTool::Setup();
    StartSelectionTool(*this, VT_LOCTEXT("ToolName", "Remesh"),
                       VT_LOCTEXT("ToolStartup", "Select polygons in the viewport, then press Remesh Selected "
                                                 "Polygons."));
}

void URivetRemeshTool::AddSubclassPropertySets()
{
    Settings = AddSelectionToolSettings<URivetRemeshToolProperties>(*this);
}

UMeshSelectionToolActionPropertySet* URivetRemeshTool::CreateEditActions()
{
    return URivetMeshEditActions::CreateFor(this);
}

void URivetRemeshTool::OnTick(float DeltaTime)
{
    UMeshSelectionTool::OnTick(DeltaTime);
    UpdateEstimate();
    if (std::exchange(bPendingRemesh, false))
    {
        RemeshSelectedPolygons();
    }
}

void URivetRemeshTool::UpdateEstimate()
{
    if (!Settings)
    {
        return;
    }
    const UMeshSelectionSet* Selection = GetSelection();
    static const TArray<int32> NothingSelected;
    const TArray<int32>& Selected =
        Selection ? Selection->GetElements(EMeshSelectionElementType::Face) : NothingSelected;
    const int32 Count = Selected.Num();
    const double Density = Settings->Density;
    if (Count == LastSelectionCount && Density == LastDensity)
    {
        return;
    }
    LastDensity = Density;
    if (Count != LastSelectionCount)
    {
        LastSelectionCount = Count;
        CachedAverageEdgeLength = 0.0;
        const UPreviewMesh* Preview = GetPreviewMesh();
        if (Preview && Preview->GetMesh() && Count >= 1)
        {
            CachedAverageEdgeLength = MeasureAverageEdgeLength(*Preview->GetMesh(), Selected);
        }
    }
    Settings->TargetEdgeLength = static_cast<float>(Density * CachedAverageEdgeLength);
}

void URivetRemeshTool::RemeshSelectedPolygons()
{
    FRivetMappedSelection Selected;
    if (!MapToolSelection(*this, VT_LOCTEXT_NAMESPACE, Selected))
    {
        return;
    }
    FScopedTransaction Transaction(VT_LOCTEXT("RemeshTransaction", "Remesh Polygons"));
    Selected.Mesh->Modify(/*bAlwaysMarkDirty=*/true);
    FRivetRemeshParams Params;
    Params.TriangleIDs.Reserve(Selected.TriangleIDs.Num());
    for (const FTriangleID Triangle : Selected.TriangleIDs)
    {
        Params.TriangleIDs.Add(Triangle.GetValue());
    }
    Params.Density = Settings->Density;
    Params.Iterations = Settings->Iterations;
    Params.bPostEditChange = true;
    const FRivetRemeshResult Result = RemeshSelection(Selected.Mesh, Params);
    if (!Result.bSuccess)
    {
        RefuseSelectionAction(*this, Result.Message);
        return;
    }
    FinishSelectionAction(*this, FText::Format(VT_LOCTEXT("RemeshDoneTotals",
                                                          "Remeshed {0} selected polygon(s) with edge length {1}. "
                                                          "Mesh total: {2} triangle(s) before, {3} after. Save "
                                                          "the asset to keep the change."),
                                               Params.TriangleIDs.Num(), Result.TargetEdgeLength,
                                               Result.TrianglesBefore, Result.TrianglesAfter));
}

#undef VT_LOCTEXT_NAMESPACE
