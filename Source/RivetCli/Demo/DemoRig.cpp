#include "RivetCli/Demo/DemoRig.h"

#include "Core/Misc/Check.h"

namespace
{
struct FDemoBoneDef
{
    const char* Name;
    const char* Parent;
    /** The joint in model space, on the left for a paired bone. */
    FVector Location;
    bool bPaired;
};

/** About 180 cm tall: the head's top is at 181, the soles on the floor. Parents come first. */
const FDemoBoneDef BoneDefs[] = {
    {"Root", nullptr, FVector(0.0, 0.0, 0.0), false},
    {"Pelvis", "Root", FVector(0.0, 0.0, 96.0), false},
    {"Spine", "Pelvis", FVector(0.0, 0.0, 108.0), false},
    {"Chest", "Spine", FVector(0.0, 0.0, 128.0), false},
    {"Neck", "Chest", FVector(0.0, 0.0, 150.0), false},
    {"Head", "Neck", FVector(0.0, 0.0, 160.0), false},
    {"UpperArm_L", "Chest", FVector(19.0, 0.0, 146.0), true},
    {"LowerArm_L", "UpperArm_L", FVector(25.0, 0.0, 118.0), true},
    {"Hand_L", "LowerArm_L", FVector(30.0, 0.0, 92.0), true},
    {"Thigh_L", "Pelvis", FVector(10.0, 0.0, 92.0), true},
    {"Calf_L", "Thigh_L", FVector(11.0, 0.0, 50.0), true},
    {"Foot_L", "Calf_L", FVector(12.0, 0.0, 9.0), true},
};

const EDemoSide BothSides[] = {EDemoSide::Left, EDemoSide::Right};
} // namespace

std::span<const EDemoSide> DemoSides(bool bPaired)
{
    return std::span<const EDemoSide>(BothSides, bPaired ? 2 : 1);
}

FName DemoSideName(const char* LeftName, EDemoSide Side)
{
    const FString Name(LeftName);
    if (Side == EDemoSide::Right && Name.EndsWith("_L"))
    {
        return FName(Name.LeftChop(2) + "_R");
    }
    return FName(Name);
}

FVector DemoSidePoint(const FVector& LeftPoint, EDemoSide Side)
{
    return Side == EDemoSide::Right ? FVector(-LeftPoint.X, LeftPoint.Y, LeftPoint.Z) : LeftPoint;
}

FDemoRig::FDemoRig()
{
    FReferenceSkeletonModifier Modifier(RefSkeleton, nullptr);
    // Every left bone first, then their mirror images, so that a right bone's parent is always there.
    for (const EDemoSide Side : DemoSides(/*bPaired=*/true))
    {
        for (const FDemoBoneDef& Def : BoneDefs)
        {
            if (Side == EDemoSide::Right && !Def.bPaired)
            {
                continue;
            }
            const int32 Parent =
                Def.Parent ? Modifier.FindBoneIndex(DemoSideName(Def.Parent, Side)) : INDEX_NONE;
            const FVector Location = DemoSidePoint(Def.Location, Side);
            const FVector ParentLocation = Parent == INDEX_NONE ? FVector(0.0, 0.0, 0.0) : Locations[Parent];
            Modifier.Add({DemoSideName(Def.Name, Side), Parent}, FTransform(Location - ParentLocation));
            Locations.Add(Location);
        }
    }
}

int32 FDemoRig::FindBone(FName BoneName) const
{
    const int32 Bone = RefSkeleton.FindRawBoneIndex(BoneName);
    VT_CHECKF(Bone != INDEX_NONE, "the demo rig has no bone '%s'", *BoneName.ToString());
    return Bone;
}
