#include "RivetEditor/Private/Tools/RivetMeshEditActions.h"

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"

URivetMeshEditActions* URivetMeshEditActions::CreateFor(UMeshSelectionTool* Tool)
{
    URivetMeshEditActions* Actions = NewObject<URivetMeshEditActions>(Tool);
    Actions->Initialize(Tool);
    return Actions;
}

void URivetMeshEditActions::Delete()
{
    PostAction(EMeshSelectionToolActions::Delete);
}

void URivetMeshEditActions::Disconnect()
{
    PostAction(EMeshSelectionToolActions::Disconnect);
}

void URivetMeshEditActions::FlipNormals()
{
    PostAction(EMeshSelectionToolActions::FlipNormals);
}

void URivetMeshEditActions::CreatePolygroup()
{
    PostAction(EMeshSelectionToolActions::CreatePolygroup);
}

void URivetMeshEditActions::SmoothBorder()
{
    PostAction(EMeshSelectionToolActions::SmoothBorder);
}
