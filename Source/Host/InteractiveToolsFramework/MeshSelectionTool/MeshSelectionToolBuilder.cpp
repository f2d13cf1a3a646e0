#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshBackedTarget.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"

bool UMeshSelectionToolBuilder::CanBuildTool(const FToolBuilderState& SceneState) const
{
    if (SceneState.Targets.Num() != 1)
    {
        return false;
    }
    const USkeletalMeshBackedTarget* Target = Cast<USkeletalMeshBackedTarget>(SceneState.Targets[0]);
    return Target && Target->GetSkeletalMesh();
}

UInteractiveTool* UMeshSelectionToolBuilder::BuildTool(const FToolBuilderState& SceneState) const
{
    UMeshSelectionTool* Tool = CreateNewTool(SceneState);
    if (Tool)
    {
        Tool->SetWorld(SceneState.World);
        Tool->SetTarget(SceneState.Targets.Num() == 1 ? SceneState.Targets[0] : nullptr);
    }
    return Tool;
}

UMeshSelectionTool* UMeshSelectionToolBuilder::CreateNewTool(const FToolBuilderState& SceneState) const
{
    return NewObject<UMeshSelectionTool>(SceneState.ToolManager);
}
