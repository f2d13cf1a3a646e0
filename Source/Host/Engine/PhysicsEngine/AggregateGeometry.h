#pragma once

#include "Engine/PhysicsEngine/BoxElem.h"
#include "Engine/PhysicsEngine/CapsuleElem.h"
#include "Engine/PhysicsEngine/ConvexElem.h"
#include "Engine/PhysicsEngine/LevelSetElem.h"
#include "Engine/PhysicsEngine/SkinnedLevelSetElem.h"
#include "Engine/PhysicsEngine/SphereElem.h"
#include "Engine/PhysicsEngine/TaperedCapsuleElem.h"

/** All collision shapes of one body, by kind; together they make the body's collision. */
struct FKAggregateGeometry
{
    TArray<FKSphereElem> SphereElems;
    TArray<FKBoxElem> BoxElems;
    TArray<FKCapsuleElem> CapsuleElems;
    TArray<FKTaperedCapsuleElem> TaperedCapsuleElems;
    TArray<FKConvexElem> ConvexElems;
    TArray<FKLevelSetElem> LevelSetElems;
    TArray<FKSkinnedLevelSetElem> SkinnedLevelSetElems;

    /** The number of shapes of every kind. */
    int32 GetElementCount() const
    {
        return SphereElems.Num() + BoxElems.Num() + CapsuleElems.Num() + TaperedCapsuleElems.Num() +
               ConvexElems.Num() + GetLevelSetCount();
    }
    /** The number of level sets, skinned ones included. */
    int32 GetLevelSetCount() const { return LevelSetElems.Num() + SkinnedLevelSetElems.Num(); }

    /** Removes every shape. */
    void EmptyElements() { *this = FKAggregateGeometry(); }

    bool operator==(const FKAggregateGeometry& Other) const = default;
};
