#pragma once

#include "CoreUObject/Object/WeakObjectPtr.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionTool.h"
#include "InteractiveToolsFramework/MeshSelectionTool/MeshSelectionToolBuilder.h"

class URivetAssignMaterialSlotTool;

/** Where accepting the tool puts the selected polygons. */
VT_ENUM()
enum class ERivetSlotTargetMode : uint8
{
    NewSlot = 0 VT_UMETA(ToolTip = "Create a brand new material slot for the selected polygons."),
    ExistingSlot =
        1 VT_UMETA(ToolTip = "Move the selected polygons into one of the slots the mesh already has."),
};
VT_ENUM_BODY(ERivetSlotTargetMode)

VT_CLASS(ToolTip = "Builder for the Assign Material Slot tool.")
class URivetAssignMaterialSlotToolBuilder : public UMeshSelectionToolBuilder
{
    VT_BODY(URivetAssignMaterialSlotToolBuilder, UMeshSelectionToolBuilder)

public:
    UMeshSelectionTool* CreateNewTool(const FToolBuilderState& SceneState) const override;
};

/**
 * The Assign Material Slot panel: where the selection goes on accept, and the Cleanup buttons. The three
 * slot pickers hold option strings ("<index>: <name>  (<n> polys)") chosen from GetSlotNameOptions.
 */
VT_CLASS()
class URivetAssignMaterialSlotToolProperties : public UInteractiveToolPropertySet
{
    VT_BODY(URivetAssignMaterialSlotToolProperties, UInteractiveToolPropertySet)

public:
    VT_PROPERTY(EditAnywhere, Category = "Material Slot",
                ToolTip = "Create a new slot, or move the selection into a slot that already exists.")
    ERivetSlotTargetMode Target = ERivetSlotTargetMode::NewSlot;

    VT_PROPERTY(EditAnywhere, Category = "Material Slot",
                EditCondition = "Target == ERivetSlotTargetMode::NewSlot", EditConditionHides,
                ToolTip = "Name for the new material slot. Leave empty to auto-name it.")
    FString SlotName;

    VT_PROPERTY(EditAnywhere, Category = "Material Slot",
                EditCondition = "Target == ERivetSlotTargetMode::NewSlot", EditConditionHides,
                ToolTip = "Copy the material currently on the selected polygons, so the mesh keeps its look.")
    bool bCopySourceMaterial = true;

    VT_PROPERTY(EditAnywhere, Category = "Material Slot",
                EditCondition = "Target == ERivetSlotTargetMode::ExistingSlot", EditConditionHides,
                GetOptions = "GetSlotNameOptions", NoResetToDefault,
                ToolTip = "Which existing slot the selected polygons move into.")
    FString ExistingSlot;

    VT_PROPERTY(EditAnywhere, Category = "Cleanup", GetOptions = "GetSlotNameOptions", NoResetToDefault,
                ToolTip = "The slot to delete.")
    FString SlotToDelete;

    VT_PROPERTY(EditAnywhere, Category = "Cleanup", GetOptions = "GetSlotNameOptions", NoResetToDefault,
                ToolTip = "Where its polygons go. Ignored when the deleted slot has no polygons.")
    FString MergeIntoSlot;

    /** The tool this panel belongs to; set by the tool. */
    TWeakObjectPtr<URivetAssignMaterialSlotTool> ParentTool;

    /** The option strings of the three slot pickers, one per slot. */
    VT_PROPERTY(TransientToolProperty)
    TArray<FString> SlotNameOptions;

    VT_FUNCTION(CallInEditor = "true", Category = "Cleanup", DisplayName = "Delete Slot",
                DisplayPriority = "1", ToolTip = "Delete the slot above right now, without leaving the tool.")
    void DeleteSlotNow();

    VT_FUNCTION(CallInEditor = "true", Category = "Cleanup", DisplayName = "Remove Unused Slots",
                DisplayPriority = "2", ToolTip = "Remove every slot that no triangle uses, right now.")
    void RemoveUnusedSlotsNow();

    VT_FUNCTION()
    TArray<FString> GetSlotNameOptions() const { return SlotNameOptions; }
};

/** A request of the panel's Cleanup buttons, run on the tool's next tick. */
enum class ERivetSlotToolAction : uint8
{
    None = 0,
    DeleteSlot = 1,
    RemoveUnusedSlots = 2,
};

/**
 * Moves the polygons painted on the preview into a new or an existing material slot when the user
 * accepts the tool, as one undo step; cancelling changes nothing. The Cleanup buttons delete a slot
 * (merging its polygons into another) or remove the unused slots, each as one undo step, and then end
 * the tool. A mesh with more than one LOD is edited in LOD 0 only, which the tool says when it starts.
 */
VT_CLASS()
class URivetAssignMaterialSlotTool : public UMeshSelectionTool
{
    VT_BODY(URivetAssignMaterialSlotTool, UMeshSelectionTool)

public:
    void Setup() override;
    void OnTick(float DeltaTime) override;

    /** Asks for a Cleanup action on the next tick; a later request before that tick replaces it. */
    void RequestSlotAction(ERivetSlotToolAction Action) { PendingAction = static_cast<uint8>(Action); }
    uint8 GetPendingAction() const { return PendingAction; }

    URivetAssignMaterialSlotToolProperties* GetSettings() const { return Settings; }

protected:
    void OnShutdown(EToolShutdownType ShutdownType) override;
    void AddSubclassPropertySets() override;
    UMeshSelectionToolActionPropertySet* CreateEditActions() override;

private:
    /** Fills the pickers' options from the mesh's slots, and each empty picker with the first option. */
    void RebuildSlotOptions();
    void AssignSelection();
    void RunPendingAction(ERivetSlotToolAction Action);
    void DeleteSlot(USkeletalMesh& Mesh);
    void RemoveUnusedSlots(USkeletalMesh& Mesh);

    VT_PROPERTY()
    TObjectPtr<URivetAssignMaterialSlotToolProperties> Settings;

    /** ERivetSlotToolAction: 0 none, 1 delete slot, 2 remove unused slots. */
    uint8 PendingAction = 0;
};

/**
 * The slot index an option string stands for: the number before its first ':' (0 when the text there
 * does not start with a number), or -1 when there is no ':'.
 */
int32 ParseSlotOption(const FString& Option);
