#pragma once

#include "CoreUObject/Object/WeakObjectPtr.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"

class URivetDetachTool;
struct FRivetDetachResult;

VT_CLASS(ToolTip = "Builder for the Detach tool.")
class URivetDetachToolBuilder : public UMeshSelectionToolBuilder
{
    VT_BODY(URivetDetachToolBuilder, UMeshSelectionToolBuilder)

public:
    UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const override;
};

/** The Detach panel: whether the source keeps the polygons, and the button that asks for the detach. */
VT_CLASS()
class URivetDetachToolProperties : public UInteractiveToolPropertySet
{
    VT_BODY(URivetDetachToolProperties, UInteractiveToolPropertySet)

public:
    VT_PROPERTY(EditAnywhere, Category = "Detach", DisplayName = "Remove From Source",
                ToolTip = "Also remove the detached polygons from the source mesh.\n\nIf off, the source mesh "
                          "stays unchanged and the new asset is a clone\n(\"Detach as Clone\" in Max).")
    bool bRemoveFromSource = true;

    /** The tool this panel belongs to; set by the tool. */
    TWeakObjectPtr<URivetDetachTool> ParentTool;

    VT_FUNCTION(CallInEditor = "true", Category = "Detach", DisplayName = "Detach Selected Polygons",
                DisplayPriority = "1", ToolTip = "Moves the selected polygons into a new Skeletal Mesh asset.")
    void DetachNow();
};

/**
 * Detaches the polygons painted on the preview into a new skeletal mesh asset beside the source (a
 * duplicate named "<source>_Part", trimmed to them), as one undo step that also takes the new asset away.
 * A successful detach shows the new asset in the content browser and ends the tool; a refusal leaves it
 * running with its selection.
 */
VT_CLASS()
class URivetDetachTool : public UMeshSelectionTool
{
    VT_BODY(URivetDetachTool, UMeshSelectionTool)

public:
    void Setup() override;
    void OnTick(float DeltaTime) override;

    /** Asks for the detach on the next tick; requests before that tick make one detach. */
    void RequestDetach() { bPendingDetach = true; }

    URivetDetachToolProperties* GetSettings() const { return Settings; }

protected:
    void AddSubclassPropertySets() override;
    UMeshSelectionToolActionPropertySet* CreateEditActions() override;

private:
    void DetachSelectedPolygons();
    /** Shows the outcome of a successful detach, shows the new asset in the content browser, ends the tool. */
    void FinishDetach(const FRivetDetachResult& Result, const USkeletalMesh& NewAsset, bool bRemovedFromSource);

    VT_PROPERTY()
    TObjectPtr<URivetDetachToolProperties> Settings;

    bool bPendingDetach = false;
};
