#pragma once

#include "Core/Math/BoxSphereBounds.h"
#include "Core/Math/Transform.h"
#include "Engine/Components/ActorComponent.h"

/** A component with a place in the world and bounds around what it shows. */
VT_CLASS(ToolTip = "A component with a transform and bounds.")
class USceneComponent : public UActorComponent
{
    VT_BODY(USceneComponent, UActorComponent)

public:
    const FTransform& GetComponentTransform() const { return ComponentToWorld; }
    FVector GetComponentLocation() const { return ComponentToWorld.GetTranslation(); }
    void SetWorldTransform(const FTransform& Transform);
    void SetWorldLocation(const FVector& Location);

    /** World-space bounds, as last computed by UpdateBounds. */
    const FBoxSphereBounds& GetBounds() const { return Bounds; }
    /** Recomputes the bounds from what the component shows and its transform. */
    void UpdateBounds() { Bounds = CalcBounds(ComponentToWorld); }

protected:
    /** Bounds of what the component shows, placed by LocalToWorld; a point at the origin by default. */
    virtual FBoxSphereBounds CalcBounds(const FTransform& LocalToWorld) const;
    /** Bounds around the eight corners of a local box placed by LocalToWorld. */
    static FBoxSphereBounds PlaceLocalBox(const FBox& LocalBox, const FTransform& LocalToWorld);

private:
    FTransform ComponentToWorld;
    FBoxSphereBounds Bounds;
};
