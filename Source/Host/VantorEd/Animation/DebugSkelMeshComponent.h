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
    /** Draws the bones over the mesh in the viewport. */
    VT_PROPERTY(EditAnywhere, Category = "Display")
    bool bDisplayBones = false;
};
