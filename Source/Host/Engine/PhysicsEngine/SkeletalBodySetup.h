#pragma once

#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/PhysicsEngine/AggregateGeometry.h"
#include "Engine/PhysicsEngine/CookedConvexRecord.h"

/**
 * The collision of one bone of a physics asset: its shapes and the collision data cooked from
 * them. Cooking derives one FCookedConvexRecord per convex shape that encloses a volume; a
 * convex shape whose points all lie in one plane (or on one line or point) cannot, is
 * reported and gets no record. The cooked data is a cache: it stays as it is until
 * InvalidatePhysicsData drops it, so whoever changes the shapes invalidates it (editing through
 * reflection does so itself).
 */
VT_CLASS()
class USkeletalBodySetup : public UObject
{
    VT_BODY(USkeletalBodySetup, UObject)

public:
    VT_PROPERTY(EditAnywhere, Category = "Body")
    FName BoneName;

    FKAggregateGeometry AggGeom;

    /** Cooks the convex shapes unless the cooked data is still there. */
    void CreatePhysicsMeshes();
    /** Drops the cooked data; the next CreatePhysicsMeshes cooks again. */
    void InvalidatePhysicsData();
    bool HasCookedData() const { return bHasCookedData; }
    /** The records of the last cook, in the order of ConvexElems; empty when not cooked. */
    const TArray<FCookedConvexRecord>& GetCookedConvexRecords() const { return CookedConvexRecords; }

    void PostEditChangeProperty(FPropertyChangedEvent& Event) override;

private:
    /** The record of one convex shape; false when the shape encloses no volume. */
    static bool CookConvex(const FKConvexElem& Convex, FCookedConvexRecord& OutRecord);

    TArray<FCookedConvexRecord> CookedConvexRecords;
    bool bHasCookedData = false;
};
