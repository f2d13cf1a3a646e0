#pragma once

#include "Core/Misc/Guid.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "Engine/World/World.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolActionPropertySet.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolActions.h"
#include "InteractiveToolsFramework/Preview/PreviewMesh.h"
#include "InteractiveToolsFramework/Selection/MeshSelectionSet.h"
#include "InteractiveToolsFramework/ToolTargets/ToolTarget.h"
#include "InteractiveToolsFramework/Tools/InteractiveTool.h"

class USkeletalMesh;

/**
 * Selects triangles on a preview of a skeletal mesh's LOD 0 and edits them. Setup converts the
 * target's LOD 0 into the preview mesh, whose triangle IDs are what the user selects, and asks
 * subclasses for their property sets and their action panel. Actions are requested (by the panel
 * or by code) and applied to the preview on the next tick; accepting the tool writes geometry
 * edits back to the asset's LOD 0 as one undo step, unless the asset changed since setup (the
 * preview would then overwrite that change) or the edits deleted every triangle (an empty LOD 0 makes
 * the asset invalid), in which case the user is warned instead.
 */
VT_CLASS(ToolTip = "Selects and edits triangles of a skeletal mesh.")
class UMeshSelectionTool : public UInteractiveTool
{
    VT_BODY(UMeshSelectionTool, UInteractiveTool)

public:
    void SetWorld(UWorld* World) { TargetWorld = World; }
    void SetTarget(UToolTarget* InTarget) { Target = InTarget; }
    UWorld* GetWorld() const { return TargetWorld; }
    UToolTarget* GetTarget() const { return Target; }

    void Setup() override;
    void OnTick(float DeltaTime) override;
    bool HasAccept() const override { return true; }
    bool HasCancel() const override { return true; }

    /**
     * Asks for an action on the next tick. Only one request waits at a time: requests made while
     * one is pending are ignored, so a button pressed twice between ticks acts once.
     */
    void RequestAction(EMeshSelectionToolActions Action);
    bool HasPendingAction() const { return PendingAction != EMeshSelectionToolActions::NoAction; }

    /** The skeletal mesh the target stands for, or null when the target stands for none. */
    USkeletalMesh* GetTargetSkeletalMesh() const;

    UPreviewMesh* GetPreviewMesh() const { return PreviewMesh; }
    UMeshSelectionSet* GetSelection() const { return Selection; }
    UMeshSelectionToolActionPropertySet* GetEditActions() const { return EditActions; }
    /** Whether an action has changed the preview's geometry since setup. */
    bool HaveModifiedGeometry() const { return bHaveModifiedGeometry; }

protected:
    /** Hook of setup: subclasses create their property sets here and add them to the tool. */
    virtual void AddSubclassPropertySets() {}
    /** Hook of setup: the panel of action buttons to show, or null for none. */
    virtual UMeshSelectionToolActionPropertySet* CreateEditActions() { return nullptr; }

    /** Applies an action to the selection and the preview mesh. */
    virtual void ApplyAction(EMeshSelectionToolActions Action);
    void OnShutdown(EToolShutdownType ShutdownType) override;

    VT_PROPERTY()
    TObjectPtr<UPreviewMesh> PreviewMesh;

    VT_PROPERTY()
    TObjectPtr<UMeshSelectionSet> Selection;

private:
    void ApplySelectionAction(EMeshSelectionToolActions Action);
    void ApplyGeometryAction(EMeshSelectionToolActions Action);
    void WriteBackToAsset();
    void WarnNotWrittenBack(const FText& Reason);

    VT_PROPERTY()
    TObjectPtr<UWorld> TargetWorld;

    VT_PROPERTY()
    TObjectPtr<UToolTarget> Target;

    VT_PROPERTY()
    TObjectPtr<UMeshSelectionToolActionPropertySet> EditActions;

    /** The asset's derived-data key when the preview was made from it. */
    FGuid SourceDerivedDataKey;
    EMeshSelectionToolActions PendingAction = EMeshSelectionToolActions::NoAction;
    bool bHaveModifiedGeometry = false;
};
