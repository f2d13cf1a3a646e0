#include "RivetCli/Demo/DemoBody.h"

#include "Core/Math/MathUtility.h"
#include "RivetCli/Demo/DemoGeometry.h"
#include "RivetCli/Demo/DemoRig.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
enum class EDemoShape
{
    Capsule,
    Cylinder,
};

enum EDemoSlotIndex : int32
{
    Skin,
    Shirt,
    Trousers,
    Shoes,
};

const FDemoSlot Slots[] = {
    {"Skin", FVector4f(0.87f, 0.64f, 0.5f, 1.0f)},
    {"Shirt", FVector4f(0.15f, 0.32f, 0.7f, 1.0f)},
    {"Trousers", FVector4f(0.2f, 0.2f, 0.25f, 1.0f)},
    {"Shoes", FVector4f(0.35f, 0.2f, 0.1f, 1.0f)},
};

constexpr int32 MaxChain = 4;

/** One part of the figure, written for the left side when paired. */
struct FDemoPart
{
    EDemoShape Shape;
    EDemoSlotIndex Slot;
    FVector Start;
    FVector End;
    double Radius;
    /** The length of a capsule's caps along the axis. */
    double CapHeight;
    FVector Across;
    double AcrossScale;
    /** The bones along the axis: the first holds the start, each next one takes over at its joint. */
    std::array<const char*, MaxChain> Bones;
    /** The length along the axis over which the weight passes from one bone to the next. */
    double BlendWidth;
    bool bPaired;
    bool bSmile;
};

const FVector Depth(0.0, 1.0, 0.0);
const FVector Width(1.0, 0.0, 0.0);
const FVector Height(0.0, 0.0, 1.0);

// clang-format off
const FDemoPart Parts[] = {
    // Hips, torso, neck and head, up the middle.
    {EDemoShape::Capsule, Trousers, {0.0, 0.0, 84.0}, {0.0, 0.0, 110.0}, 16.0, 9.0, Depth, 0.7,
     {"Pelvis", "Spine"}, 10.0, false, false},
    {EDemoShape::Capsule, Shirt, {0.0, 0.0, 100.0}, {0.0, 0.0, 154.0}, 17.0, 10.0, Depth, 0.62,
     {"Pelvis", "Spine", "Chest"}, 10.0, false, false},
    {EDemoShape::Cylinder, Skin, {0.0, 0.0, 146.0}, {0.0, 0.0, 160.0}, 5.5, 0.0, Depth, 1.0,
     {"Chest", "Neck", "Head"}, 6.0, false, false},
    {EDemoShape::Capsule, Skin, {0.0, 0.0, 156.0}, {0.0, 0.0, 181.0}, 10.0, 12.0, Depth, 1.1,
     {"Neck", "Head"}, 6.0, false, true},
    // Arms hanging slightly away from the body, flat hands, legs, and feet pointing forward (-Y).
    {EDemoShape::Capsule, Shirt, {16.5, 0.0, 150.0}, {31.0, 0.0, 90.0}, 5.0, 5.0, Depth, 1.0,
     {"Chest", "UpperArm_L", "LowerArm_L", "Hand_L"}, 8.0, true, false},
    {EDemoShape::Capsule, Skin, {30.5, 0.0, 94.0}, {33.5, 0.0, 76.0}, 4.0, 4.0, Width, 0.5,
     {"LowerArm_L", "Hand_L"}, 4.0, true, false},
    {EDemoShape::Capsule, Trousers, {10.0, 0.0, 100.0}, {11.5, 0.0, 3.0}, 7.0, 7.0, Depth, 1.0,
     {"Pelvis", "Thigh_L", "Calf_L", "Foot_L"}, 10.0, true, false},
    {EDemoShape::Capsule, Shoes, {12.0, 5.0, 4.5}, {12.0, -19.0, 4.5}, 5.5, 5.5, Height, 0.82,
     {"Foot_L"}, 0.0, true, false},
};
// clang-format on

/** A part on one side, ready to sweep and skin. */
struct FPlacedPart
{
    const FDemoPart* Def = nullptr;
    FDemoSweep Sweep;
    FDemoProfile Profile;
    std::array<uint16, MaxChain> Bones{};
    /** Per bone of the chain, the distance along the axis where it takes over (unused for the first). */
    std::array<double, MaxChain> Joints{};
    int32 NumBones = 0;
};

FDemoProfile MakeProfile(const FDemoPart& Part, double Length, const FDemoTessellation& Tessellation)
{
    const double BodyLength = Part.Shape == EDemoShape::Capsule ? Length - 2.0 * Part.CapHeight : Length;
    const int32 BodySteps = std::max(1, static_cast<int32>(std::ceil(BodyLength / Tessellation.RingSpacing)));
    if (Part.Shape == EDemoShape::Cylinder)
    {
        return MakeCylinderProfile(Length, Part.Radius, BodySteps);
    }
    const int32 CapSteps = std::max(1, Tessellation.Segments / 4);
    return MakeCapsuleProfile(Length, Part.Radius, Part.CapHeight, CapSteps, BodySteps);
}

FPlacedPart PlacePart(const FDemoPart& Part, EDemoSide Side, const FDemoRig& Rig,
                      const FDemoTessellation& Tessellation)
{
    FPlacedPart Placed;
    Placed.Def = &Part;
    Placed.Sweep.Start = DemoSidePoint(Part.Start, Side);
    Placed.Sweep.End = DemoSidePoint(Part.End, Side);
    Placed.Sweep.Across = Part.Across;
    Placed.Sweep.AcrossScale = Part.AcrossScale;
    Placed.Sweep.Segments = Tessellation.Segments;
    const FVector Axis = Placed.Sweep.End - Placed.Sweep.Start;
    Placed.Profile = MakeProfile(Part, Axis.Size(), Tessellation);
    for (const char* BoneName : Part.Bones)
    {
        if (!BoneName)
        {
            break;
        }
        const int32 Bone = Rig.FindBone(DemoSideName(BoneName, Side));
        Placed.Bones[Placed.NumBones] = static_cast<uint16>(Bone);
        Placed.Joints[Placed.NumBones] =
            (Rig.GetBoneLocation(Bone) - Placed.Sweep.Start).Dot(Axis.GetSafeNormal());
        ++Placed.NumBones;
    }
    return Placed;
}

TArray<FPlacedPart> PlaceParts(const FDemoRig& Rig, const FDemoTessellation& Tessellation)
{
    TArray<FPlacedPart> Placed;
    for (const FDemoPart& Part : Parts)
    {
        for (const EDemoSide Side : DemoSides(Part.bPaired))
        {
            Placed.Add(PlacePart(Part, Side, Rig, Tessellation));
        }
    }
    return Placed;
}

/**
 * The raw weight (of 65535) that the bones from the chain's link Link on take at Distance along the
 * axis: all of it before the link's joint, none after, with a smooth step across the blend width.
 */
int32 RawShareFrom(const FPlacedPart& Part, int32 Link, double Distance)
{
    if (Link == 0)
    {
        return FBoneWeight::MaxRawWeight;
    }
    if (Link >= Part.NumBones)
    {
        return 0;
    }
    const double Across = std::clamp((Distance - Part.Joints[Link]) / Part.Def->BlendWidth + 0.5, 0.0, 1.0);
    return static_cast<int32>(
        std::lround(FBoneWeight::MaxRawWeight * Across * Across * (3.0 - 2.0 * Across)));
}

/**
 * Weights each vertex to the part's chain: a bone's raw weight is its share less the next bone's, so
 * the weights add up to exactly 65535. Joints lie farther apart than the blend width, so at most two
 * bones share a vertex.
 */
void SkinPart(const FPlacedPart& Part, const FDemoSweepElements& Elements,
              FSkeletalMeshAttributes& Attributes, TArray<FBoneWeight>& Influences)
{
    const auto Positions = Attributes.GetVertexPositions();
    const auto Weights = Attributes.GetVertexSkinWeights();
    const FVector Axis = (Part.Sweep.End - Part.Sweep.Start).GetSafeNormal();
    for (const FVertexID Vertex : Elements.Vertices)
    {
        const double Distance = (FVector(Positions[Vertex]) - Part.Sweep.Start).Dot(Axis);
        Influences.Reset();
        for (int32 Link = 0; Link < Part.NumBones; ++Link)
        {
            const int32 Raw = RawShareFrom(Part, Link, Distance) - RawShareFrom(Part, Link + 1, Distance);
            if (Raw > 0)
            {
                Influences.Add(FBoneWeight{Part.Bones[Link], static_cast<uint16>(Raw)});
            }
        }
        Weights.Set(Vertex, Influences);
    }
}

/** How Smile moves a point of the head: the mouth corners and cheeks rise and draw back a little. */
FVector SmileDelta(const FVector& Point, const FVector& Head)
{
    const FVector Local = Point - Head;
    const double Rise = std::max(0.0, 1.0 - VT::Math::Square((Local.Z - 3.5) / 6.0));
    const double Front = std::clamp((-Local.Y - 3.0) / 8.0, 0.0, 1.0);
    const double Corner = std::min(1.0, std::abs(Local.X) / 4.0);
    return FVector(0.0, 0.5, 1.0) * (1.5 * Rise * Front * Corner);
}

/** Adds Smile to the part's vertices; the normals lean with the lift. */
void AddSmile(const FDemoSweepElements& Elements, const FVector& Head, FMeshDescription& Mesh,
              FSkeletalMeshAttributes& Attributes)
{
    const auto Positions = Attributes.GetVertexPositions();
    const auto Deltas = Attributes.GetVertexMorphPositionDelta(DemoSmileMorphName);
    const auto NormalDeltas = Attributes.GetVertexInstanceMorphNormalDelta(DemoSmileMorphName);
    const auto Normals = Attributes.GetVertexInstanceNormals();
    for (const FVertexID Vertex : Elements.Vertices)
    {
        Deltas[Vertex] = FVector3f(SmileDelta(FVector(Positions[Vertex]), Head));
    }
    for (const FVertexInstanceID Instance : Elements.VertexInstances)
    {
        const FVector3f Delta = Deltas[Mesh.GetVertexInstanceVertex(Instance)];
        if (!Delta.IsNearlyZero(0.0f))
        {
            const FVector3f Normal = Normals[Instance];
            NormalDeltas[Instance] = (Normal + Delta * 0.2f).GetSafeNormal() - Normal;
        }
    }
}

void Reserve(FMeshDescription& Mesh, const TArray<FPlacedPart>& Placed)
{
    FDemoSweepCounts Counts;
    for (const FPlacedPart& Part : Placed)
    {
        Counts += CountSweep(Part.Profile, Part.Sweep.Segments);
    }
    // Closed surfaces: every edge has two triangles.
    Mesh.Reserve(Counts.Vertices, Counts.VertexInstances, Counts.Triangles * 3 / 2, Counts.Triangles,
                 Counts.Triangles, static_cast<int32>(std::size(Slots)));
}
} // namespace

std::span<const FDemoSlot> GetDemoSlots()
{
    return Slots;
}

FMeshDescription BuildDemoBody(const FDemoRig& Rig, const FDemoTessellation& Tessellation)
{
    const TArray<FPlacedPart> Placed = PlaceParts(Rig, Tessellation);
    FMeshDescription Mesh;
    FSkeletalMeshAttributes Attributes(Mesh);
    Attributes.Register();
    Attributes.RegisterMorphTargetAttribute(DemoSmileMorphName, /*bIncludeNormals=*/true);
    Reserve(Mesh, Placed);
    const auto SlotNames = Attributes.GetPolygonGroupMaterialSlotNames();
    for (const FDemoSlot& Slot : Slots)
    {
        SlotNames[Mesh.CreatePolygonGroup()] = FName(Slot.Name);
    }

    FDemoSweepBuilder Builder(Mesh);
    TArray<FBoneWeight> Influences;
    const FVector Head = Rig.GetBoneLocation(FName("Head"));
    for (const FPlacedPart& Part : Placed)
    {
        const FDemoSweepElements& Elements =
            Builder.Add(Part.Sweep, Part.Profile, FPolygonGroupID(Part.Def->Slot));
        SkinPart(Part, Elements, Attributes, Influences);
        if (Part.Def->bSmile)
        {
            AddSmile(Elements, Head, Mesh, Attributes);
        }
    }
    return Mesh;
}
