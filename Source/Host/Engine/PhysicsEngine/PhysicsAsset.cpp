#include "Engine/PhysicsEngine/PhysicsAsset.h"

int32 UPhysicsAsset::FindBodyIndex(FName BoneName) const
{
    if (BoneName.IsNone())
    {
        return INDEX_NONE;
    }
    return SkeletalBodySetups.IndexOfByPredicate([BoneName](const TObjectPtr<USkeletalBodySetup>& Body)
                                                 { return Body && Body->BoneName == BoneName; });
}

int32 UPhysicsAsset::FindConstraintIndex(FName Bone1, FName Bone2) const
{
    if (Bone1.IsNone() || Bone2.IsNone())
    {
        return INDEX_NONE;
    }
    return ConstraintSetup.IndexOfByPredicate(
        [Bone1, Bone2](const TObjectPtr<UPhysicsConstraintTemplate>& Constraint)
        {
            return Constraint && Constraint->DefaultInstance.ConstraintBone1 == Bone1 &&
                   Constraint->DefaultInstance.ConstraintBone2 == Bone2;
        });
}

void UPhysicsAsset::InvalidateAllPhysicsMeshes()
{
    for (const TObjectPtr<USkeletalBodySetup>& Body : SkeletalBodySetups)
    {
        if (Body)
        {
            Body->InvalidatePhysicsData();
        }
    }
}
