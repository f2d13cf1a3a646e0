#pragma once

#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/PhysicsEngine/PhysicsConstraintTemplate.h"
#include "Engine/PhysicsEngine/SkeletalBodySetup.h"

/**
 * The physics of a skeletal mesh: one body per simulated bone and the joints between them.
 * Either list may hold null entries (a body or joint that was deleted); lookups skip them.
 */
VT_CLASS()
class UPhysicsAsset : public UObject
{
    VT_BODY(UPhysicsAsset, UObject)

public:
    VT_PROPERTY()
    TArray<TObjectPtr<USkeletalBodySetup>> SkeletalBodySetups;

    VT_PROPERTY()
    TArray<TObjectPtr<UPhysicsConstraintTemplate>> ConstraintSetup;

    /** The index of the body of a bone; INDEX_NONE for None and for bones without a body. */
    int32 FindBodyIndex(FName BoneName) const;
    /**
     * The index of the joint that ties Bone1 (as its first bone) to Bone2 (as its second);
     * INDEX_NONE when there is none. The order matters: a joint's frames belong to its bones.
     */
    int32 FindConstraintIndex(FName Bone1, FName Bone2) const;

    /** Drops the cooked collision data of every body, so that each cooks again before use. */
    void InvalidateAllPhysicsMeshes();
};
