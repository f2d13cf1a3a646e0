#pragma once

#include "CoreUObject/Object/WeakObjectPtr.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"

class URivetDeletePolygonsTool;

VT_CLASS(ToolTip = "Builder for the Delete Polygons tool.")
class URivetDeletePolygonsToolBuilder : public UMeshSelectionToolBuilder
{
    VT_BODY(URivetDeletePolygonsToolBuilder, UMeshSelectionToolBuilder)

public:
    UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const override;
};

/** The Delete Polygons panel: one button that asks the tool to delete the selection. */
VT_CLASS()
class URivetDeletePolygonsToolProperties : public UInteractiveToolPropertySet
{
    VT_BODY(URivetDeletePolygonsToolProperties, UInteractiveToolPropertySet)

public:
    VT_FUNCTION(CallInEditor = "true", Category = "Polygons", DisplayName = "Delete Selected Polygons",
                DisplayPriority = "1",
                ToolTip = "Deletes the selected polygons from the asset.\n\nWARNING: Does nothing if every "
                          "polygon is selected -- an empty mesh\nmakes the asset invalid.")
    void DeleteNow();

    /** The tool this panel belongs to; set by the tool. */
    TWeakObjectPtr<URivetDeletePolygonsTool> ParentTool;
};

/**
 * Deletes the polygons painted on the preview from the asset's LOD 0, as one undo step. A successful
 * deletion ends the tool; a refused one leaves it running with its selection.
 */
VT_CLASS()
class URivetDeletePolygonsTool : public UMeshSelectionTool
{
    VT_BODY(URivetDeletePolygonsTool, UMeshSelectionTool)

public:
    void Setup() override;
    void OnTick(float DeltaTime) override;

    /** Asks for the deletion on the next tick; requests before that tick make one deletion. */
    void RequestDelete() { bPendingDelete = true; }

    URivetDeletePolygonsToolProperties* GetSettings() const { return Settings; }

protected:
    void AddSubclassPropertySets() override;
    UMeshSelectionToolActionPropertySet* CreateEditActions() override;

private:
    void DeleteSelectedPolygons();

    VT_PROPERTY()
    TObjectPtr<URivetDeletePolygonsToolProperties> Settings;

    bool bPendingDelete = false;
};
