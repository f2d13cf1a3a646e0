#pragma once

#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolActionPropertySet.h"

/**
 * The Mesh Edits panel of the module's selection tools: each button hands one of the selection
 * tool's own edit actions to the tool, which applies it to the selection on its next tick.
 */
VT_CLASS(ToolTip = "The `Mesh Edits` panel for the Rivet selection tools: Delete, Disconnect, Flip Normals, "
                   "Create Polygroup and Smooth Border.")
class URivetMeshEditActions : public UMeshSelectionToolActionPropertySet
{
    VT_BODY(URivetMeshEditActions, UMeshSelectionToolActionPropertySet)

public:
    /** A panel owned by the tool and talking to it. */
    static URivetMeshEditActions* CreateFor(UMeshSelectionTool* Tool);

    VT_FUNCTION(CallInEditor = "true", Category = "MeshEdits", DisplayName = "Delete", DisplayPriority = "1",
                ToolTip = "Delete the selected triangles")
    void Delete();

    VT_FUNCTION(
        CallInEditor = "true", Category = "MeshEdits", DisplayName = "Disconnect", DisplayPriority = "3",
        ToolTip = "Disconnected the selected triangles from their neighbours, to create mesh boundaries "
                  "along the selection borders")
    void Disconnect();

    VT_FUNCTION(CallInEditor = "true", Category = "MeshEdits", DisplayName = "Flip Normals",
                DisplayPriority = "4",
                ToolTip = "Flip the normals of the selected triangles. This will create hard normals at "
                          "selection borders.")
    void FlipNormals();

    VT_FUNCTION(CallInEditor = "true", Category = "MeshEdits", DisplayName = "Create Polygroup",
                DisplayPriority = "5",
                ToolTip = "Assign a new unique Polygroup index to the selected triangles")
    void CreatePolygroup();

    VT_FUNCTION(CallInEditor = "true", Category = "MeshEdits", DisplayPriority = "12",
                ToolTip = "Smooth the selection border")
    void SmoothBorder();
};
