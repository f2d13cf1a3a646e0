#pragma once

#include "GeometryCore/DynamicMesh/DynamicMeshOverlay.h"

/** Texture coordinates at triangle corners. */
class FDynamicMeshUVOverlay : public TDynamicMeshOverlay<float, 2>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;
};

/** Shading normals at triangle corners; blends stay unit length. */
class FDynamicMeshNormalOverlay : public TDynamicMeshOverlay<float, 3>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;

protected:
    FVector3f BlendElements(const FVector3f& A, const FVector3f& B, double T) const override
    {
        const FVector3f Blend = LerpDynamicMeshValue(A, B, T);
        return T == 0.0 || T == 1.0 || Blend.IsNearlyZero() ? Blend : Blend.GetSafeNormal();
    }
};

/**
 * Tangents at triangle corners: the tangent in XYZ, the sign of the binormal in W. Blends keep the
 * tangent unit length and take the sign of the nearer end.
 */
class FDynamicMeshTangentOverlay : public TDynamicMeshOverlay<float, 4>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;

protected:
    FVector4f BlendElements(const FVector4f& A, const FVector4f& B, double T) const override
    {
        if (T == 0.0 || T == 1.0)
        {
            return LerpDynamicMeshValue(A, B, T);
        }
        const FVector3f Tangent = LerpDynamicMeshValue(FVector3f(A.X, A.Y, A.Z), FVector3f(B.X, B.Y, B.Z), T);
        const FVector3f Unit = Tangent.IsNearlyZero() ? Tangent : Tangent.GetSafeNormal();
        return FVector4f(Unit.X, Unit.Y, Unit.Z, T < 0.5 ? A.W : B.W);
    }
};

/** Linear RGBA colours at triangle corners. */
class FDynamicMeshColorOverlay : public TDynamicMeshOverlay<float, 4>
{
public:
    using TDynamicMeshOverlay::TDynamicMeshOverlay;
};
