#include "RivetEditor/Private/Ops/RivetBakePhysics.h"

#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"
#include "RivetEditor/Private/Ops/RivetBakePoses.h"
#include "RivetEditorLog.h"

#include <cmath>

namespace
{
bool IsScaled(double Ratio)
{
    return std::abs(Ratio - 1.0) > 0.0001;
}

/** Scales a single-precision size in double precision. */
void ScaleSize(float& Size, double Ratio)
{
    Size = static_cast<float>(static_cast<double>(Size) * Ratio);
}

/** Scales every shape that can be about the body's origin; answers the level sets, which cannot. */
int32 ScaleShapes(FKAggregateGeometry& Shapes, double Ratio)
{
    for (FKSphereElem& Sphere : Shapes.SphereElems)
    {
        Sphere.Center *= Ratio;
        ScaleSize(Sphere.Radius, Ratio);
    }
    for (FKBoxElem& Box : Shapes.BoxElems)
    {
        Box.Center *= Ratio;
        ScaleSize(Box.X, Ratio);
        ScaleSize(Box.Y, Ratio);
        ScaleSize(Box.Z, Ratio);
    }
    for (FKCapsuleElem& Capsule : Shapes.CapsuleElems)
    {
        Capsule.Center *= Ratio;
        ScaleSize(Capsule.Radius, Ratio);
        ScaleSize(Capsule.Length, Ratio);
    }
    for (FKTaperedCapsuleElem& Capsule : Shapes.TaperedCapsuleElems)
    {
        Capsule.Center *= Ratio;
        ScaleSize(Capsule.Radius0, Ratio);
        ScaleSize(Capsule.Radius1, Ratio);
        ScaleSize(Capsule.Length, Ratio);
    }
    for (FKConvexElem& Convex : Shapes.ConvexElems)
    {
        for (FVector& Vertex : Convex.VertexData)
        {
            Vertex *= Ratio;
        }
        // The element's offset from the body scales like a centre, or the hull would drift off its bone.
        Convex.Transform.SetTranslation(Convex.Transform.GetTranslation() * Ratio);
        Convex.UpdateElemBox();
    }
    return Shapes.GetLevelSetCount();
}

/** Answers whether the body was resized. */
bool ResizeBody(USkeletalBodySetup& Body, const FRivetBakePoses& Poses, FRivetBakeBoneResult& Result)
{
    const double Ratio = Poses.ComputeBoneScaleRatio(Body.BoneName);
    if (!IsScaled(Ratio))
    {
        return false;
    }
    Body.Modify(true);
    Result.PhysicsShapesSkipped += ScaleShapes(Body.AggGeom, Ratio);
    return true;
}

/** Answers whether the constraint was changed. */
bool ResizeConstraint(UPhysicsConstraintTemplate& Constraint, const FRivetBakePoses& Poses)
{
    FPhysicsConstraintSetup& Setup = Constraint.DefaultInstance;
    const double Ratio1 = Poses.ComputeBoneScaleRatio(Setup.ConstraintBone1);
    const double Ratio2 = Poses.ComputeBoneScaleRatio(Setup.ConstraintBone2);
    if (!IsScaled(Ratio1) && !IsScaled(Ratio2))
    {
        return false;
    }
    Constraint.Modify(true);
    Setup.Position1 *= Ratio1;
    ScaleSize(Setup.LinearLimit, Ratio1);
    Setup.Position2 *= Ratio2;
    return true;
}
} // namespace

void BakePhysicsAsset(UPhysicsAsset& PhysicsAsset, const FRivetBakePoses& Poses, FRivetBakeBoneResult& Result)
{
    Result.PhysicsAssetName = PhysicsAsset.GetName();
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Physics asset: '%s' (%d bodies, %d constraints)",
           *Result.PhysicsAssetName, PhysicsAsset.SkeletalBodySetups.Num(),
           PhysicsAsset.ConstraintSetup.Num());
    for (const TObjectPtr<USkeletalBodySetup>& Body : PhysicsAsset.SkeletalBodySetups)
    {
        Result.PhysicsBodiesResized += Body && ResizeBody(*Body, Poses, Result) ? 1 : 0;
    }
    for (const TObjectPtr<UPhysicsConstraintTemplate>& Constraint : PhysicsAsset.ConstraintSetup)
    {
        Result.ConstraintsUpdated += Constraint && ResizeConstraint(*Constraint, Poses) ? 1 : 0;
    }
    if (Result.PhysicsBodiesResized > 0 || Result.ConstraintsUpdated > 0)
    {
        PhysicsAsset.InvalidateAllPhysicsMeshes();
        PhysicsAsset.MarkPackageDirty();
    }
}
