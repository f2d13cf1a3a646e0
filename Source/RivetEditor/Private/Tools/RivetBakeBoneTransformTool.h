#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "Engine/World/World.h"
#include "InteractiveToolsFramework/Tools/InteractiveTool.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolBuilder.h"

class UAnimPreviewInstance;
class UDebugSkelMeshComponent;
class URivetBakeBoneTransformTool;
class USkeletalMesh;

VT_CLASS(ToolTip = "Builder for the Bake Bone Transform tool.")
class URivetBakeBoneTransformToolBuilder : public UInteractiveToolBuilder
{
    VT_BODY(URivetBakeBoneTransformToolBuilder, UInteractiveToolBuilder)

public:
    /** Whenever the scene state names a world. */
    bool CanBuildTool(const FToolBuilderState& SceneState) const override;
    /** A new tool with the state's tool manager as outer, working in the state's world. */
    UInteractiveTool* BuildTool(const FToolBuilderState& SceneState) const override;
};

/** The Bake Bone Transform panel: the bone and its transform, the bake's options, and what the tool sees. */
VT_CLASS()
class URivetBakeBoneTransformToolProperties : public UInteractiveToolPropertySet
{
    VT_BODY(URivetBakeBoneTransformToolProperties, UInteractiveToolPropertySet)

public:
    VT_PROPERTY(EditAnywhere, Category = "Bone Transform",
                ToolTip = "The bone to modify. If left empty, the root bone is used.\nThe \"Use Selected Bone\" "
                          "button fills this from the Skeleton Tree selection.")
    FString BoneName;

    VT_PROPERTY(EditAnywhere, Category = "Bone Transform",
                ToolTip = "Translation in component space, as a DELTA (starts at zero).")
    FVector Location = FVector::ZeroVector;

    VT_PROPERTY(EditAnywhere, Category = "Bone Transform",
                ToolTip = "Rotation in component space, as a DELTA (starts at zero).\n\nUnlike the Rotation in "
                          "the Skeleton Tree, this is an angle added to the\nbone's rest orientation, so the Yaw "
                          "field only affects Yaw.")
    FRotator Rotation = FRotator::ZeroRotator;

    VT_PROPERTY(EditAnywhere, Category = "Bone Transform", AllowPreserveRatio,
                ToolTip = "Scale. If the lock next to it is enabled, all three axes change together\n"
                          "(AllowPreserveRatio, the chain icon in the Details panel).\n\nBaking requires all "
                          "three axes to be equal; otherwise the bake is refused.")
    FVector Scale = FVector::OneVector;

    VT_PROPERTY(EditAnywhere, Category = "Options",
                ToolTip = "After baking, reset the bone to zero (like Maya's Freeze Transformations).")
    bool bZeroTheBone = true;

    VT_PROPERTY(EditAnywhere, Category = "Options", DisplayName = "Make Animations Follow",
                ToolTip = "Make existing animations follow the baked size.\n\nWithout this, animations keep "
                          "playing at the old size.\n\nWARNING: This setting belongs to the Skeleton asset, so "
                          "it also affects\nevery other mesh that uses the same skeleton.")
    bool bRetargetAnimationScaled = true;

    VT_PROPERTY(EditAnywhere, Category = "Options", DisplayName = "Bake Rotation Into Animations",
                ToolTip = "Also bake the rotation and translation into the animations.\n\nRetargeting cannot "
                          "handle rotation, so the root bone track of every\nanimation that uses this skeleton "
                          "is multiplied by the rotation.\n\nWARNING: The animation assets are MODIFIED and "
                          "must be saved. Only works\nwhen the root bone is baked.")
    bool bBakeIntoAnimations = true;

    VT_PROPERTY(EditAnywhere, Category = "Options", DisplayName = "Resize Physics Asset",
                ToolTip = "Also resize the physics asset bodies and constraints.\n\nWithout this, the capsules "
                          "may no longer fit the body after the bone\nlength changes.\n\nWARNING: The physics "
                          "asset is MODIFIED and must be saved.")
    bool bUpdatePhysicsAsset = true;

    VT_PROPERTY(EditAnywhere, Category = "Options", DisplayName = "Localize Skeleton Sockets",
                ToolTip = "Copy the Skeleton asset's sockets onto the MESH first, and let the copies\nfollow the "
                          "bake.\n\nIMPORTANT: Without this, sockets are almost never updated, because\nsockets "
                          "added with the engine's \"Add Socket\" button live on the Skeleton,\nwhich is shared "
                          "with other meshes and is left untouched. The mesh copy\ntakes precedence over the "
                          "original.")
    bool bLocalizeSkeletonSockets = false;

    VT_PROPERTY(EditAnywhere, Category = "Options", ToolTip = "Write every step to the Output Log.")
    bool bVerboseLog = true;

    VT_PROPERTY(VisibleAnywhere, Category = "Skeleton Tree", MultiLine = "TRUE", TransientToolProperty,
                ToolTip = "What the tool currently sees.")
    FString Detected;

    /** The tool this panel belongs to; set by the tool. */
    TWeakObjectPtr<URivetBakeBoneTransformTool> ParentTool;

    VT_FUNCTION(CallInEditor = "true", Category = "Bone Transform", DisplayName = "Use Selected Bone",
                DisplayPriority = "0", ToolTip = "Writes the bone selected in the Skeleton Tree into Bone Name.")
    void UseSelectedBoneNow();

    VT_FUNCTION(CallInEditor = "true", Category = "Bone Transform", DisplayName = "Apply to Preview",
                DisplayPriority = "1",
                ToolTip = "Re-applies the transform from this panel to the preview.\n\nUsually not needed: every "
                          "change shows in the viewport immediately. Use it\nto restore the state after "
                          "switching bones or after touching a bone by\nhand in the Skeleton Tree.")
    void ApplyRotationNow();

    VT_FUNCTION(CallInEditor = "true", Category = "Bone Transform", DisplayName = "Bake", DisplayPriority = "2",
                ToolTip = "Bakes the pose shown in the preview into the asset and resets the bone to zero.")
    void BakeNow();

    VT_FUNCTION(CallInEditor = "true", Category = "Options", DisplayName = "Fix Animations Now",
                DisplayPriority = "1",
                ToolTip = "Fixes only the animation retargeting, without baking.\n\nFor a mesh that has ALREADY "
                          "been baked: baking again would apply the\nchange twice, while this button only sets "
                          "the skeleton option.")
    void FixAnimationsNow();

    VT_FUNCTION(CallInEditor = "true", Category = "Skeleton Tree", DisplayName = "Refresh", DisplayPriority = "1",
                ToolTip = "Re-reads the state, e.g. after you changed a bone by hand in the Skeleton Tree.")
    void RefreshNow();
};

/** The preview the tool drives: the skeleton editor's debug component, its mesh and its animation. */
struct FRivetBakePreview
{
    UDebugSkelMeshComponent* Component = nullptr;
    USkeletalMesh* Mesh = nullptr;
    UAnimPreviewInstance* Instance = nullptr;
};

/**
 * Lets the user pose a bone on the skeletal mesh editor's preview (through the panel or by hand in the
 * Skeleton Tree) and bake that pose into the asset. The panel's buttons and edits only set requests;
 * each tick handles one, in the order bake, fix animations, use selected bone, apply, refresh. A
 * successful bake ends the tool; closing it otherwise leaves the preview's bone edits as they are.
 */
VT_CLASS(ToolTip = "Lets the user move, rotate and scale a bone live in the Atelier preview and\nthen bake the "
                   "result permanently into the skeletal mesh asset.")
class URivetBakeBoneTransformTool : public UInteractiveTool
{
    VT_BODY(URivetBakeBoneTransformTool, UInteractiveTool)

public:
    void Setup() override;
    void OnPropertyModified(UObject* PropertySet, const FProperty* Property) override;
    void OnTick(float DeltaTime) override;

    URivetBakeBoneTransformToolProperties* GetSettings() const { return Settings; }

    VT_PROPERTY()
    TObjectPtr<URivetBakeBoneTransformToolProperties> Settings;

    VT_PROPERTY()
    TObjectPtr<UWorld> TargetWorld;

    bool bPendingRefresh = false;
    bool bPendingBake = false;
    bool bPendingApply = false;
    bool bPendingUseSelectedBone = false;
    bool bPendingFixAnimations = false;

    /** The first debug skeletal mesh component of the target world's actors that shows a mesh. */
    FRivetBakePreview FindPreview() const;

private:
    void ApplyToPreview();
    void UseSelectedBone();
    void Bake();
    void FixAnimations();
    void RefreshDetected();
    /** Shows a text at the level given. */
    void Show(const FText& Text, bool bWarning) const;
};
