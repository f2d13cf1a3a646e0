#pragma once

#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "Engine/Components/SkeletalMeshComponent.h"

/**
 * The skeletal mesh editor's preview component: the open asset as the viewport shows it, with the
 * editor's display options. Its preview instance poses the bones (the Skeleton Tree's bone edits); tools
 * read its pose and drive its bones.
 */
VT_CLASS(ToolTip = "The preview component of the skeletal mesh editor.")
class UDebugSkelMeshComponent : public USkeletalMeshComponent
{
    VT_BODY(UDebugSkelMeshComponent, USkeletalMeshComponent)

public:
    /** The bones selected in the skeleton tree, as reference-skeleton indices, first selected first. */
    const TArray<int32>& GetSelectedBoneIndices() const { return SelectedBoneIndices; }
    void SetSelectedBoneIndices(const TArray<int32>& BoneIndices) { SelectedBoneIndices = BoneIndices; }

    /** The animation that poses the preview, or null before the animation was initialised. */
    UAnimPreviewInstance* GetPreviewInstance() const { return PreviewInstance; }

    /**
     * (Re-)initialises the animation for the current mesh: makes the preview instance when there is none
     * (an existing one keeps its bone edits), evaluates the pose and marks the drawing state dirty.
     * Without a mesh there is nothing to animate and the instance is left as it is.
     */
    void ReinitializeAnimation();

    /**
     * The viewport's per-frame update: re-evaluates the pose and marks the drawing state dirty when the
     * pose changed (an edit of a bone controller since the last frame).
     */
    void TickPose();

    /** Draws the bones over the mesh in the viewport. */
    VT_PROPERTY(EditAnywhere, Category = "Display")
    bool bDisplayBones = false;

protected:
    /** The reference pose with the preview instance's bone controllers, when there is an instance. */
    void EvaluateComponentSpacePose(const TArray<FTransform>& LocalPose,
                                    TArray<FTransform>& OutComponentSpace) const override;

private:
    TArray<int32> SelectedBoneIndices;

    VT_PROPERTY()
    TObjectPtr<UAnimPreviewInstance> PreviewInstance;
};
