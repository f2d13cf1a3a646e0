#include "RivetEditor/Private/Tools/RivetDeletePolygonsTool.h"

#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"
#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"
#include "RivetEditor/Private/Tools/RivetSelectionToolWorkflow.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <utility>

#define VT_LOCTEXT_NAMESPACE "RivetDeletePolygonsTool"

UMeshSelectionTool* URivetDeletePolygonsToolBuilder::CreateNewTool(const FToolBuilderState& SceneState) const
{
    return NewObject<URivetDeletePolygonsTool>(SceneState.ToolManager);
}

void URivetDeletePolygonsToolProperties::DeleteNow()
{
    if (URivetDeletePolygonsTool* Tool = ParentTool.Get())
    {
        Tool->RequestDelete();
    }
}

void URivetDeletePolygonsTool::Setup()
{
    UMeshSelectionTool::Setup();
    StartSelectionTool(*this, VT_LOCTEXT("ToolName", "Delete Polygons"),
                       VT_LOCTEXT("ToolStartup",
                                  "Select polygons in the viewport, then press Delete Selected "
                                  "Polygons."));
}

void URivetDeletePolygonsTool::AddSubclassPropertySets()
{
    Settings = AddSelectionToolSettings<URivetDeletePolygonsToolProperties>(*this);
}

UMeshSelectionToolActionPropertySet* URivetDeletePolygonsTool::CreateEditActions()
{
    return URivetMeshEditActions::CreateFor(this);
}

void URivetDeletePolygonsTool::OnTick(float DeltaTime)
{
    UMeshSelectionTool::OnTick(DeltaTime);
    if (std::exchange(bPendingDelete, false))
    {
        DeleteSelectedPolygons();
    }
}

void URivetDeletePolygonsTool::DeleteSelectedPolygons()
{
    FRivetMappedSelection Selected;
    if (!MapToolSelection(*this, VT_LOCTEXT_NAMESPACE, Selected))
    {
        return;
    }
    FScopedTransaction Transaction(VT_LOCTEXT("DeletePolygonsTransaction", "Delete Polygons"));
    Selected.Mesh->Modify(/*bAlwaysMarkDirty=*/true);
    const int32 Deleted = DeletePolygons(Selected.Mesh, Selected.TriangleIDs, /*bPostEditChange=*/true);
    if (Deleted == 0)
    {
        RefuseSelectionAction(*this, VT_LOCTEXT("DeleteRejected", "Nothing was deleted. Selecting every "
                                                                  "polygon would leave an empty mesh."));
        return;
    }
    FinishSelectionAction(*this, FText::Format(VT_LOCTEXT("DeleteDone", "Deleted {0} polygon(s)."), Deleted));
}

#undef VT_LOCTEXT_NAMESPACE
