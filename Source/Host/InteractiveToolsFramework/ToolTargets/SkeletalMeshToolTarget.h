#pragma once

#include "CoreUObject/Object/WeakObjectPtr.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "InteractiveToolsFramework/ToolTargets/SkeletalMeshBackedTarget.h"
#include "InteractiveToolsFramework/ToolTargets/ToolTarget.h"

/** A tool target for a skeletal mesh asset, such as the one open in the skeletal mesh editor. */
VT_CLASS(ToolTip = "A tool target standing for a skeletal mesh asset.")
class USkeletalMeshToolTarget : public UToolTarget, public USkeletalMeshBackedTarget
{
    VT_BODY(USkeletalMeshToolTarget, UToolTarget)

public:
    /** A new target in the transient package, standing for the mesh. */
    static USkeletalMeshToolTarget* Make(USkeletalMesh* Mesh);

    bool IsValid() const override { return SkeletalMesh.Get() != nullptr; }
    USkeletalMesh* GetSkeletalMesh() const override { return SkeletalMesh.Get(); }

private:
    TWeakObjectPtr<USkeletalMesh> SkeletalMesh;
};
