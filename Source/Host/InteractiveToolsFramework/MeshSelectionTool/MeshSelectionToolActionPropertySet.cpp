#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolActionPropertySet.h"

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"

void UMeshSelectionToolActionPropertySet::Initialize(UMeshSelectionTool* ParentToolIn)
{
    ParentTool = ParentToolIn;
}

UMeshSelectionTool* UMeshSelectionToolActionPropertySet::GetParentTool() const
{
    return ParentTool.Get();
}

void UMeshSelectionToolActionPropertySet::PostAction(EMeshSelectionToolActions Action)
{
    if (UMeshSelectionTool* Tool = ParentTool.Get())
    {
        Tool->RequestAction(Action);
    }
}
