#pragma once

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"

/** A settings panel with a clamped field and a disabled one. */
VT_CLASS()
class USampleToolSettings : public UInteractiveToolPropertySet
{
    VT_BODY(USampleToolSettings, UInteractiveToolPropertySet)

public:
    VT_PROPERTY(EditAnywhere, DisplayName = "Edge Scale", ClampMin = "0.5", ClampMax = "2.0")
    double Scale = 1.0;

    VT_PROPERTY(EditAnywhere, EditCondition = "bAdvanced")
    int32 Passes = 1;

    VT_PROPERTY()
    bool bAdvanced = false;
};

/** Buttons that post the selection tool's own actions. */
VT_CLASS()
class USampleEditActions : public UMeshSelectionToolActionPropertySet
{
    VT_BODY(USampleEditActions, UMeshSelectionToolActionPropertySet)

public:
    VT_FUNCTION(CallInEditor, DisplayName = "Delete Selection")
    void Delete() { PostAction(EMeshSelectionToolActions::Delete); }

    VT_FUNCTION(CallInEditor)
    void SelectAll() { PostAction(EMeshSelectionToolActions::SelectAll); }

    VT_FUNCTION()
    void NotAButton() {}
};

/** A selection tool showing the panels above; it notes whether its setup hook saw the preview and selection.
 */
VT_CLASS()
class USampleSelectionTool : public UMeshSelectionTool
{
    VT_BODY(USampleSelectionTool, UMeshSelectionTool)

public:
    bool bHadPreviewAndSelectionInHooks = false;

protected:
    void AddSubclassPropertySets() override
    {
        bHadPreviewAndSelectionInHooks = GetPreviewMesh() && GetSelection();
        AddToolPropertySource(NewObject<USampleToolSettings>(this));
    }
    UMeshSelectionToolActionPropertySet* CreateEditActions() override
    {
        USampleEditActions* Actions = NewObject<USampleEditActions>(this);
        Actions->Initialize(this);
        return Actions;
    }
};

VT_CLASS()
class USampleSelectionToolBuilder : public UMeshSelectionToolBuilder
{
    VT_BODY(USampleSelectionToolBuilder, UMeshSelectionToolBuilder)

public:
    UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const override
    {
        return NewObject<USampleSelectionTool>(SceneState.ToolManager);
    }
};
