#include "RivetCli/Demo/DemoPhysics.h"

#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "RivetCli/Demo/DemoRig.h"

#include <algorithm>
#include <cmath>

namespace
{
enum class EDemoBodyShape
{
    Box,
    Sphere,
    Capsule,
};

/** One body, written for the left side when paired; places are in model space. */
struct FDemoBodyDef
{
    const char* Bone;
    EDemoBodyShape Shape;
    /** The centre of a box or sphere. */
    FVector Center;
    /** A box's full extents. */
    FVector Extents;
    /** A sphere's or capsule's radius. */
    double Radius;
    /** The bone whose joint a capsule reaches from its own bone's joint. */
    const char* CapsuleTo;
    bool bPaired;
};

const FDemoBodyDef BodyDefs[] = {
    {"Pelvis", EDemoBodyShape::Box, {0.0, 0.0, 96.0}, {32.0, 22.0, 16.0}, 0.0, nullptr, false},
    {"Spine", EDemoBodyShape::Box, {0.0, 0.0, 117.0}, {30.0, 19.0, 18.0}, 0.0, nullptr, false},
    {"Chest", EDemoBodyShape::Box, {0.0, 0.0, 139.0}, {34.0, 21.0, 24.0}, 0.0, nullptr, false},
    {"Head", EDemoBodyShape::Sphere, {0.0, -1.0, 168.0}, {}, 11.0, nullptr, false},
    {"UpperArm_L", EDemoBodyShape::Capsule, {}, {}, 5.5, "LowerArm_L", true},
    {"LowerArm_L", EDemoBodyShape::Capsule, {}, {}, 5.0, "Hand_L", true},
    {"Hand_L", EDemoBodyShape::Box, {32.0, 0.0, 85.0}, {5.0, 8.0, 17.0}, 0.0, nullptr, true},
    {"Thigh_L", EDemoBodyShape::Capsule, {}, {}, 7.5, "Calf_L", true},
    {"Calf_L", EDemoBodyShape::Capsule, {}, {}, 6.5, "Foot_L", true},
    {"Foot_L", EDemoBodyShape::Box, {12.0, -7.0, 4.5}, {11.0, 24.0, 9.0}, 0.0, nullptr, true},
};

/** The rotation that turns a capsule's own axis (Z) along the segment; a capsule has no ends to tell apart.
 */
FRotator CapsuleRotation(const FVector& Segment)
{
    FVector Direction = Segment.GetSafeNormal();
    if (Direction.Z < 0.0)
    {
        Direction = -Direction;
    }
    const FVector Axis = FVector::UpVector.Cross(Direction);
    if (Axis.IsNearlyZero())
    {
        return FRotator();
    }
    const double Angle = std::acos(std::clamp(Direction.Z, -1.0, 1.0));
    return FQuat(Axis.GetSafeNormal(), Angle).Rotator();
}

void AddShape(FKAggregateGeometry& Geometry, const FDemoBodyDef& Def, EDemoSide Side, const FDemoRig& Rig)
{
    const FVector Joint = Rig.GetBoneLocation(DemoSideName(Def.Bone, Side));
    switch (Def.Shape)
    {
        case EDemoBodyShape::Box:
        {
            FKBoxElem Box;
            Box.Center = DemoSidePoint(Def.Center, Side) - Joint;
            Box.X = static_cast<float>(Def.Extents.X);
            Box.Y = static_cast<float>(Def.Extents.Y);
            Box.Z = static_cast<float>(Def.Extents.Z);
            Geometry.BoxElems.Add(Box);
            break;
        }
        case EDemoBodyShape::Sphere:
            Geometry.SphereElems.Add(FKSphereElem{NAME_None, DemoSidePoint(Def.Center, Side) - Joint,
                                                  static_cast<float>(Def.Radius)});
            break;
        case EDemoBodyShape::Capsule:
        {
            const FVector Segment = Rig.GetBoneLocation(DemoSideName(Def.CapsuleTo, Side)) - Joint;
            FKCapsuleElem Capsule;
            Capsule.Center = Segment * 0.5;
            Capsule.Rotation = CapsuleRotation(Segment);
            Capsule.Radius = static_cast<float>(Def.Radius);
            Capsule.Length = static_cast<float>(std::max(0.0, Segment.Size() - 2.0 * Def.Radius));
            Geometry.CapsuleElems.Add(Capsule);
            break;
        }
    }
}

/** The nearest ancestor of the bone that has a body; INDEX_NONE when none has. */
int32 FindParentBody(const UPhysicsAsset& PhysicsAsset, const FReferenceSkeleton& Bones, int32 Bone)
{
    for (int32 Ancestor = Bones.GetParentIndex(Bone); Ancestor != INDEX_NONE;
         Ancestor = Bones.GetParentIndex(Ancestor))
    {
        const int32 Body = PhysicsAsset.FindBodyIndex(Bones.GetBoneName(Ancestor));
        if (Body != INDEX_NONE)
        {
            return Body;
        }
    }
    return INDEX_NONE;
}

void AddConstraints(UPhysicsAsset& PhysicsAsset, const FDemoRig& Rig)
{
    const FReferenceSkeleton& Bones = Rig.GetRefSkeleton();
    for (const TObjectPtr<USkeletalBodySetup>& Body : PhysicsAsset.SkeletalBodySetups)
    {
        const int32 Bone = Rig.FindBone(Body->BoneName);
        const int32 ParentBody = FindParentBody(PhysicsAsset, Bones, Bone);
        if (ParentBody == INDEX_NONE)
        {
            continue;
        }
        const FName ParentBone = PhysicsAsset.SkeletalBodySetups[ParentBody]->BoneName;
        UPhysicsConstraintTemplate* Constraint = NewObject<UPhysicsConstraintTemplate>(&PhysicsAsset);
        Constraint->DefaultInstance.ConstraintBone1 = Body->BoneName;
        Constraint->DefaultInstance.ConstraintBone2 = ParentBone;
        Constraint->DefaultInstance.Position2 = Rig.GetBoneLocation(Bone) - Rig.GetBoneLocation(ParentBone);
        PhysicsAsset.ConstraintSetup.Add(Constraint);
    }
}
} // namespace

void BuildDemoPhysics(UPhysicsAsset& PhysicsAsset, const FDemoRig& Rig)
{
    for (const FDemoBodyDef& Def : BodyDefs)
    {
        for (const EDemoSide Side : DemoSides(Def.bPaired))
        {
            USkeletalBodySetup* Body = NewObject<USkeletalBodySetup>(&PhysicsAsset);
            Body->BoneName = DemoSideName(Def.Bone, Side);
            AddShape(Body->AggGeom, Def, Side, Rig);
            PhysicsAsset.SkeletalBodySetups.Add(Body);
        }
    }
    AddConstraints(PhysicsAsset, Rig);
}
