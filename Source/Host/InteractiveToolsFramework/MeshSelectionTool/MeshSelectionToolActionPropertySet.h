#pragma once

#include "CoreUObject/Object/WeakObjectPtr.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolActions.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolPropertySet.h"

class UMeshSelectionTool;

/** A panel of buttons that hand actions to the mesh selection tool it belongs to. */
VT_CLASS(ToolTip = "Buttons that post actions to a mesh selection tool.")
class UMeshSelectionToolActionPropertySet : public UInteractiveToolPropertySet
{
    VT_BODY(UMeshSelectionToolActionPropertySet, UInteractiveToolPropertySet)

public:
    /** Points the panel at the tool its buttons talk to. */
    void Initialize(UMeshSelectionTool* ParentToolIn);
    UMeshSelectionTool* GetParentTool() const;

    /** Hands the action to the parent tool, which applies it on its next tick; nothing without a tool. */
    void PostAction(EMeshSelectionToolActions Action);

protected:
    TWeakObjectPtr<UMeshSelectionTool> ParentTool;
};
