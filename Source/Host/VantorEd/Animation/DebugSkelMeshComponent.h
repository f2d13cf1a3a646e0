#pragma once

#include "Engine/Components/SkeletalMeshComponent.h"

/**
 * The skeletal mesh editor's preview component: the open asset as the viewport shows it, with
 * the editor's display options. Tools read its pose and drive its bones.
 */
VT_CLASS(ToolTip = "The preview component of the skeletal mesh editor.")
class UDebugSkelMeshComponent : public USkeletalMeshComponent
{
    VT_BODY(UDebugSkelMeshComponent, USkeletalMeshComponent)

public:
    /** The bones selected in the skeleton tree, as reference-skeleton indices, first selected first. */
    const TArray<int32>& GetSelectedBoneIndices() const { return SelectedBoneIndices; }
    void SetSelectedBoneIndices(const TArray<int32>& BoneIndices) { SelectedBoneIndices = BoneIndices; }

    /** Draws the bones over the mesh in the viewport. */
    VT_PROPERTY(EditAnywhere, Category = "Display")
    bool bDisplayBones = false;

private:
    TArray<int32> SelectedBoneIndices;
};
