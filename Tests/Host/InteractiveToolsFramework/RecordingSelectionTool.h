#pragma once

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"
#include "RecordingTool.h"

/** A selection tool that adds a settings panel and an action panel through the setup hooks. */
VT_CLASS()
class URecordingSelectionTool : public UMeshSelectionTool
{
    VT_BODY(URecordingSelectionTool, UMeshSelectionTool)

public:
    bool bHadPreviewAndSelectionInHooks = false;

protected:
    void AddSubclassPropertySets() override
    {
        bHadPreviewAndSelectionInHooks = GetPreviewMesh() && GetSelection();
        AddToolPropertySource(NewObject<URecordingPropertySet>(this));
    }
    UMeshSelectionToolActionPropertySet* CreateEditActions() override
    {
        UMeshSelectionToolActionPropertySet* Actions = NewObject<UMeshSelectionToolActionPropertySet>(this);
        Actions->Initialize(this);
        return Actions;
    }
};

/** Builds recording selection tools; the test and preparation are the base's. */
VT_CLASS()
class URecordingSelectionToolBuilder : public UMeshSelectionToolBuilder
{
    VT_BODY(URecordingSelectionToolBuilder, UMeshSelectionToolBuilder)

public:
    UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const override
    {
        return NewObject<URecordingSelectionTool>(SceneState.ToolManager);
    }
};
