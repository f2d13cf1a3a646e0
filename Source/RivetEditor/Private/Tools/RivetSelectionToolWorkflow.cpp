#include "RivetEditor/Private/Tools/RivetSelectionToolWorkflow.h"

#include "Core/Text/LocText.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"
#include "RivetEditor/Private/RivetSelectionMapping.h"

bool MapToolSelection(UMeshSelectionTool& Tool, const FString& TextNamespace, FRivetMappedSelection& Out)
{
    Out.Mesh = Tool.GetTargetSkeletalMesh();
    if (!Out.Mesh)
    {
        RefuseSelectionAction(Tool, VT_NSLOCTEXT(TextNamespace, "NoMesh",
                                                 "Could not reach the skeletal mesh. Nothing was changed."));
        return false;
    }
    const UMeshSelectionSet* Selection = Tool.GetSelection();
    if (!Selection)
    {
        RefuseSelectionAction(Tool, VT_NSLOCTEXT(TextNamespace, "NoSelection",
                                                 "Select at least one polygon first. Nothing was changed."));
        return false;
    }
    const UPreviewMesh* Preview = Tool.GetPreviewMesh();
    int32 Unmatched = 0;
    if (!MapSelectionToAssetTriangles(Out.Mesh, Preview ? Preview->GetMesh() : nullptr,
                                      Selection->GetElements(EMeshSelectionElementType::Face),
                                      Out.TriangleIDs, Unmatched))
    {
        RefuseSelectionAction(Tool,
                              FText::Format(VT_NSLOCTEXT(TextNamespace, "MappingFailed",
                                                         "Could not match {0} of the selected polygons to "
                                                         "the asset. Nothing was changed — reimport "
                                                         "the mesh and try again."),
                                            Unmatched));
        return false;
    }
    return true;
}

void ShowToolMessage(const UMeshSelectionTool& Tool, const FText& Message, EToolMessageLevel Level)
{
    if (UInteractiveToolManager* Manager = Tool.GetToolManager())
    {
        Manager->DisplayMessage(Message, Level);
    }
}

void StartSelectionTool(UMeshSelectionTool& Tool, const FText& DisplayName, const FText& StartHint)
{
    Tool.SetToolDisplayName(DisplayName);
    ShowToolMessage(Tool, StartHint, EToolMessageLevel::UserNotification);
}

void EndSelectionTool(UMeshSelectionTool& Tool)
{
    if (UInteractiveToolManager* Manager = Tool.GetToolManager())
    {
        Manager->PostActiveToolShutdownRequest(&Tool, EToolShutdownType::Completed, false, FText());
    }
}

void FinishSelectionAction(UMeshSelectionTool& Tool, const FText& Result)
{
    ShowToolMessage(Tool, Result, EToolMessageLevel::UserNotification);
    EndSelectionTool(Tool);
}

void RefuseSelectionAction(UMeshSelectionTool& Tool, const FText& Reason)
{
    ShowToolMessage(Tool, Reason, EToolMessageLevel::UserWarning);
}
