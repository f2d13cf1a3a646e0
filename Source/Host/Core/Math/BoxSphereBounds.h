#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/Box.h"
#include "Core/Math/Vector.h"

namespace VT::Math
{
/** Bounds as both a box and a sphere around the same origin; the sphere encloses the box. */
struct FBoxSphereBounds
{
    FVector Origin;
    FVector BoxExtent;
    double SphereRadius = 0;

    FBoxSphereBounds() = default;
    FBoxSphereBounds(const FVector& InOrigin, const FVector& InBoxExtent, double InSphereRadius)
        : Origin(InOrigin), BoxExtent(InBoxExtent), SphereRadius(InSphereRadius)
    {
    }
    /** Bounds of a box: its center, its half size and the distance to its corners. An invalid box gives zero.
     */
    explicit FBoxSphereBounds(const FBox& Box);

    FBox GetBox() const { return FBox(Origin - BoxExtent, Origin + BoxExtent); }

    /**
     * Bounds around both: the union of the boxes, and about its center the smaller of two spheres
     * that each hold everything both bounds hold (one through the union's corners, one around both spheres).
     */
    FBoxSphereBounds operator+(const FBoxSphereBounds& Other) const;

    bool operator==(const FBoxSphereBounds& Other) const = default;

    FString ToString() const;
};
} // namespace VT::Math

using FBoxSphereBounds = VT::Math::FBoxSphereBounds;
