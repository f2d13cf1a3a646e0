#pragma once

#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"
#include "Engine/Animation/ReferenceSkeleton.h"

#include <span>

/**
 * The side of the demo figure that a paired bone, part or body is on. The figure stands on the
 * origin, Z up, facing -Y (the front of a glTF scene once exported), so its left is +X.
 */
enum class EDemoSide
{
    Left,
    Right,
};

/** The sides a table entry stands for: both for a paired entry (written for the left), else the left only. */
std::span<const EDemoSide> DemoSides(bool bPaired);
/** A name on a side: on the right a trailing "_L" becomes "_R"; other names stay as they are. */
FName DemoSideName(const char* LeftName, EDemoSide Side);
/** A point on a side: the right side mirrors the left across X = 0. */
FVector DemoSidePoint(const FVector& LeftPoint, EDemoSide Side);

/**
 * The demo character's bones: Root on the floor, Pelvis, Spine, Chest, Neck and Head up the middle,
 * UpperArm, LowerArm and Hand on each side below Chest, Thigh, Calf and Foot on each side below
 * Pelvis ("_L" and "_R"). The reference pose only translates (every rotation is the identity), so
 * a bone's space is the model space moved to its joint.
 */
class FDemoRig
{
public:
    FDemoRig();

    const FReferenceSkeleton& GetRefSkeleton() const { return RefSkeleton; }
    /** The index of a bone the rig has; asking for another one is a programming error. */
    int32 FindBone(FName BoneName) const;
    /** Where the bone's joint sits on the figure, in model space (centimetres). */
    const FVector& GetBoneLocation(int32 BoneIndex) const { return Locations[BoneIndex]; }
    const FVector& GetBoneLocation(FName BoneName) const { return Locations[FindBone(BoneName)]; }

private:
    FReferenceSkeleton RefSkeleton;
    TArray<FVector> Locations;
};
