#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Transform.h"
#include "CoreUObject/Object/NonTransactedValue.h"
#include "CoreUObject/Object/WeakObjectPtr.h"
#include "Engine/Components/PrimitiveComponent.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"

/**
 * Shows a skeletal mesh posed by its bones. Without animation it holds the reference pose. Its bounds
 * are those of LOD 0's vertices skinned by the pose (the imported bounds for a mesh without a LOD 0
 * description).
 */
VT_CLASS(ToolTip = "A component that shows a posed skeletal mesh.")
class USkeletalMeshComponent : public UPrimitiveComponent
{
    VT_BODY(USkeletalMeshComponent, UPrimitiveComponent)

public:
    USkeletalMesh* GetSkeletalMeshAsset() const { return SkeletalMeshAsset; }
    /**
     * Shows another mesh: the pose is rebuilt and the drawing state marked dirty, now and whenever the
     * mesh announces a change (after an edit, an undo or a redo).
     */
    void SetSkeletalMeshAsset(USkeletalMesh* Mesh);

    /** Each bone's transform in component space, in reference-skeleton order. */
    const TArray<FTransform>& GetComponentSpaceTransforms() const { return ComponentSpaceTransforms; }

    /** Re-evaluates the pose from the mesh's current skeleton. */
    void RefreshBoneTransforms();

    void BeginDestroy() override;

protected:
    FBoxSphereBounds CalcBounds(const FTransform& LocalToWorld) const override;
    /**
     * The component-space pose to show, given the mesh's local reference pose; that pose posed by the
     * reference skeleton unless a subclass drives the bones.
     */
    virtual void EvaluateComponentSpacePose(const TArray<FTransform>& LocalPose,
                                            TArray<FTransform>& OutComponentSpace) const;

private:
    VT_PROPERTY(VisibleAnywhere, Category = "Mesh")
    TObjectPtr<USkeletalMesh> SkeletalMeshAsset;

    /** The mesh whose change notification the component listens to. */
    struct FMeshSubscription
    {
        TWeakObjectPtr<USkeletalMesh> Mesh;
        FDelegateHandle Handle;
    };
    void Unsubscribe();

    TArray<FTransform> ComponentSpaceTransforms;
    TNonTransactedValue<FMeshSubscription> Subscription;
};
