#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "Core/Math/Vector2.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

/**
 * One point of the outline that a surface of revolution sweeps around its axis: its distance from
 * the axis, its height along the axis, and the outline's outward normal (X away from the axis, Y
 * along it) on the band below the point and on the band above it. The two normals differ only at
 * a crease, where the surface keeps a hard edge.
 */
struct FDemoProfilePoint
{
    double Radius = 0.0;
    double Height = 0.0;
    FVector2D NormalBelow;
    FVector2D NormalAbove;

    bool IsCrease() const { return NormalBelow != NormalAbove; }
};

/**
 * A closed outline: it starts and ends on the axis (radius 0, the poles) and every point between
 * lies off it, so the swept surface is watertight.
 */
using FDemoProfile = TArray<FDemoProfilePoint>;

/**
 * A capsule Length long from tip to tip: a cylinder of Radius between two half-ellipsoid caps
 * CapHeight long. The cylinder needs some length (Length > 2 * CapHeight); CapSteps bands make
 * each cap and BodySteps bands the cylinder.
 */
FDemoProfile MakeCapsuleProfile(double Length, double Radius, double CapHeight, int32 CapSteps,
                                int32 BodySteps);

/** A cylinder with flat ends and hard edges at their rims; BodySteps bands make its side. */
FDemoProfile MakeCylinderProfile(double Length, double Radius, int32 BodySteps);

/**
 * Where a profile is swept: its axis runs from Start (height 0) to End, and the cross-section is
 * an ellipse, its radius scaled by AcrossScale in the direction Across (which must not be parallel
 * to the axis) and kept perpendicular to it. Segments corners make the cross-section.
 */
struct FDemoSweep
{
    FVector Start;
    FVector End;
    FVector Across = FVector(0.0, 1.0, 0.0);
    double AcrossScale = 1.0;
    int32 Segments = 16;
};

/** How many elements sweeping a profile makes; for reserving a description's storage. */
struct FDemoSweepCounts
{
    int32 Vertices = 0;
    int32 VertexInstances = 0;
    int32 Triangles = 0;

    FDemoSweepCounts& operator+=(const FDemoSweepCounts& Other);
};

FDemoSweepCounts CountSweep(const FDemoProfile& Profile, int32 Segments);

/** The elements of the latest sweep, in the order made. */
struct FDemoSweepElements
{
    TArray<FVertexID> Vertices;
    TArray<FVertexInstanceID> VertexInstances;
};

/**
 * Adds closed surfaces of revolution to a skinned-mesh description whose attributes are registered.
 * Every ring of the outline shares its vertices between the bands on either side; a vertex instance
 * carries the texture coordinates (U around, V along the outline), the analytic normal, a tangent
 * around the axis and binormal sign 1. The seam at U = 0 and 1 splits instances, not vertices, and a
 * pole has one vertex with an instance per triangle of its fan. Triangles wind counter-clockwise seen
 * from outside.
 */
class FDemoSweepBuilder
{
public:
    explicit FDemoSweepBuilder(FMeshDescription& InMesh);

    /** Sweeps the profile into the polygon group; the answer lasts until the next call. */
    const FDemoSweepElements& Add(const FDemoSweep& Sweep, const FDemoProfile& Profile,
                                  FPolygonGroupID Group);

private:
    struct FFrame
    {
        FVector Origin;
        FVector Axis;
        FVector Across;
        FVector Side;
        double AcrossScale = 1.0;
    };

    void AddRings(const FFrame& Frame, const FDemoProfile& Profile);
    /** One row of instances of the point's ring; answers the row's first index in Elements.VertexInstances.
     */
    int32 AddInstanceRow(const FFrame& Frame, const FDemoProfile& Profile, int32 Point,
                         const FVector2D& Normal);
    void AddTriangles(const FDemoProfile& Profile, FPolygonGroupID Group);
    FVertexID RingVertex(const FDemoProfile& Profile, int32 Point, int32 Segment) const;

    FMeshDescription& Mesh;
    TMeshAttributesRef<FVertexID, FVector3f> Positions;
    TVertexInstanceAttributes<false> Corners;

    int32 Segments = 0;
    /** Per segment corner (and one more, closing the seam) the cosine and sine of its angle. */
    TArray<FVector2D> Directions;
    /** Per profile point the index of its ring's first vertex in Elements.Vertices. */
    TArray<int32> RingStart;
    /** Per profile point the instance rows that the bands below and above it use. */
    TArray<int32> RowBelow;
    TArray<int32> RowAbove;
    FDemoSweepElements Elements;
};
