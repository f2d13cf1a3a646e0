#pragma once

#include "InteractiveToolsFramework/Tools/InteractiveToolBuilder.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"

class UMeshSelectionTool;

/**
 * Builds a mesh selection tool for one skeletal mesh target. Subclasses that bring their own
 * selection tool override only CreateNewTool; the test and the preparation stay the same.
 */
VT_CLASS(ToolTip = "Builds mesh selection tools.")
class UMeshSelectionToolBuilder : public UInteractiveToolBuilder
{
    VT_BODY(UMeshSelectionToolBuilder, UInteractiveToolBuilder)

public:
    /** True when the state names exactly one target, and that target stands for a skeletal mesh. */
    bool CanBuildTool(const FToolBuilderState& SceneState) const override;
    /** Makes the tool with CreateNewTool and gives it the state's world and target. */
    UInteractiveTool* BuildTool(const FToolBuilderState& SceneState) const override;

    /** A new tool with the state's tool manager as outer. */
    virtual UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const;
};
