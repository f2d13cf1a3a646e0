#pragma once

#include "Core/Math/Matrix.h"
#include "Interchange/Private/AxisConversion.h"

/**
 * Takes the vertices of one mesh of a file into host space: first by its placement (the identity for
 * a skinned mesh, which stays in its bind space; its node's global transform otherwise), then from the
 * file's frame into the host's.
 */
class FVertexPlacement
{
public:
    FVertexPlacement(const FMatrix& InPlacement, const FAxisConversion& InConversion)
        : Placement(InPlacement), NormalPlacement(InPlacement.Inverse().GetTransposed()),
          Conversion(InConversion)
    {
    }

    FVector3f Position(const FVector& P) const
    {
        return FVector3f(Conversion.Position(Placement.TransformPosition(P)));
    }
    /** A morph target's offset of a position. */
    FVector3f PositionDelta(const FVector& Delta) const
    {
        return FVector3f(Conversion.Position(Placement.TransformVector(Delta)));
    }
    /** A morph target's offset of a normal. */
    FVector3f NormalDelta(const FVector& Delta) const
    {
        return FVector3f(Conversion.Direction(NormalPlacement.TransformVector(Delta)));
    }
    /** A placement that mirrors turns the winding of triangles and the handedness of tangents around. */
    bool IsMirrored() const { return Placement.Determinant() < 0.0; }

    const FMatrix& GetPlacement() const { return Placement; }
    /** The inverse transpose of the placement, which keeps normals perpendicular to the surface. */
    const FMatrix& GetNormalPlacement() const { return NormalPlacement; }
    const FAxisConversion& GetConversion() const { return Conversion; }

private:
    FMatrix Placement;
    FMatrix NormalPlacement;
    FAxisConversion Conversion;
};
