#include "RivetCli/Demo/DemoGeometry.h"

#include "Core/Math/MathUtility.h"
#include "Core/Misc/Check.h"

#include <cmath>

namespace
{
FDemoProfilePoint SmoothPoint(double Radius, double Height, const FVector2D& Normal)
{
    const FVector2D Unit = Normal.GetSafeNormal();
    return {Radius, Height, Unit, Unit};
}

bool IsPole(const FDemoProfilePoint& Point)
{
    return Point.Radius == 0.0;
}

void CheckProfile(const FDemoProfile& Profile)
{
    VT_CHECKF(Profile.Num() >= 3 && IsPole(Profile[0]) && IsPole(Profile.Last()),
              "a profile runs from pole to pole through at least one ring");
    for (int32 Point = 1; Point + 1 < Profile.Num(); ++Point)
    {
        VT_CHECKF(Profile[Point].Radius > 0.0, "profile point %d lies on the axis", Point);
    }
}
} // namespace

FDemoProfile MakeCapsuleProfile(double Length, double Radius, double CapHeight, int32 CapSteps,
                                int32 BodySteps)
{
    VT_CHECKF(Length > 2.0 * CapHeight && CapSteps > 0 && BodySteps > 0, "the capsule needs a cylinder part");
    FDemoProfile Profile;
    Profile.Reserve(2 * CapSteps + BodySteps + 1);
    // A point of a cap at angle Phi from its pole: (R sin, H (1 - cos)), with normal (H sin, -R cos).
    for (int32 Step = 0; Step <= CapSteps; ++Step)
    {
        const double Phi = 0.5 * VT::Math::Pi * Step / CapSteps;
        Profile.Add(SmoothPoint(Radius * std::sin(Phi), CapHeight * (1.0 - std::cos(Phi)),
                                FVector2D(CapHeight * std::sin(Phi), -Radius * std::cos(Phi))));
    }
    for (int32 Step = 1; Step < BodySteps; ++Step)
    {
        const double Height = CapHeight + (Length - 2.0 * CapHeight) * Step / BodySteps;
        Profile.Add(SmoothPoint(Radius, Height, FVector2D(1.0, 0.0)));
    }
    for (int32 Step = CapSteps; Step >= 0; --Step)
    {
        const double Phi = 0.5 * VT::Math::Pi * Step / CapSteps;
        Profile.Add(SmoothPoint(Radius * std::sin(Phi), Length - CapHeight * (1.0 - std::cos(Phi)),
                                FVector2D(CapHeight * std::sin(Phi), Radius * std::cos(Phi))));
    }
    return Profile;
}

FDemoProfile MakeCylinderProfile(double Length, double Radius, int32 BodySteps)
{
    VT_CHECKF(Length > 0.0 && BodySteps > 0, "the cylinder needs a length");
    const FVector2D Down(0.0, -1.0);
    const FVector2D Out(1.0, 0.0);
    const FVector2D Up(0.0, 1.0);
    FDemoProfile Profile;
    Profile.Reserve(BodySteps + 3);
    Profile.Add({0.0, 0.0, Down, Down});
    Profile.Add({Radius, 0.0, Down, Out});
    for (int32 Step = 1; Step < BodySteps; ++Step)
    {
        Profile.Add({Radius, Length * Step / BodySteps, Out, Out});
    }
    Profile.Add({Radius, Length, Out, Up});
    Profile.Add({0.0, Length, Up, Up});
    return Profile;
}

FDemoSweepCounts& FDemoSweepCounts::operator+=(const FDemoSweepCounts& Other)
{
    Vertices += Other.Vertices;
    VertexInstances += Other.VertexInstances;
    Triangles += Other.Triangles;
    return *this;
}

FDemoSweepCounts CountSweep(const FDemoProfile& Profile, int32 Segments)
{
    const int32 Rings = Profile.Num() - 2;
    int32 Creases = 0;
    for (const FDemoProfilePoint& Point : Profile)
    {
        Creases += Point.IsCrease() ? 1 : 0;
    }
    FDemoSweepCounts Counts;
    Counts.Vertices = 2 + Rings * Segments;
    Counts.VertexInstances = 2 * Segments + (Rings + Creases) * (Segments + 1);
    Counts.Triangles = 2 * Segments * Rings;
    return Counts;
}

FDemoSweepBuilder::FDemoSweepBuilder(FMeshDescription& InMesh) : Mesh(InMesh)
{
    FSkeletalMeshAttributes Attributes(Mesh);
    Positions = Attributes.GetVertexPositions();
    Corners = Attributes.GetVertexInstanceAttributes();
}

const FDemoSweepElements& FDemoSweepBuilder::Add(const FDemoSweep& Sweep, const FDemoProfile& Profile,
                                                 FPolygonGroupID Group)
{
    CheckProfile(Profile);
    VT_CHECKF(Sweep.Segments >= 3, "a cross-section needs at least three corners");
    FFrame Frame;
    Frame.Origin = Sweep.Start;
    Frame.Axis = (Sweep.End - Sweep.Start).GetSafeNormal();
    Frame.Across = (Sweep.Across - Frame.Axis * Sweep.Across.Dot(Frame.Axis)).GetSafeNormal();
    VT_CHECKF(!Frame.Axis.IsNearlyZero() && !Frame.Across.IsNearlyZero(), "the sweep's frame is degenerate");
    // Across x Side = Axis: the frame is right-handed, so the winding below faces outward.
    Frame.Side = Frame.Axis.Cross(Frame.Across);
    Frame.AcrossScale = Sweep.AcrossScale;

    Segments = Sweep.Segments;
    Directions.Reset();
    for (int32 Segment = 0; Segment <= Segments; ++Segment)
    {
        const double Angle = 2.0 * VT::Math::Pi * (Segment % Segments) / Segments;
        Directions.Add(FVector2D(std::cos(Angle), std::sin(Angle)));
    }
    Elements.Vertices.Reset();
    Elements.VertexInstances.Reset();
    AddRings(Frame, Profile);
    AddTriangles(Profile, Group);
    return Elements;
}

void FDemoSweepBuilder::AddRings(const FFrame& Frame, const FDemoProfile& Profile)
{
    RingStart.Reset();
    RowBelow.Reset();
    RowAbove.Reset();
    for (int32 Point = 0; Point < Profile.Num(); ++Point)
    {
        const FDemoProfilePoint& Outline = Profile[Point];
        RingStart.Add(Elements.Vertices.Num());
        const int32 RingSize = IsPole(Outline) ? 1 : Segments;
        for (int32 Segment = 0; Segment < RingSize; ++Segment)
        {
            const FVector2D& Direction = Directions[Segment];
            const FVector Offset = Frame.Across * (Outline.Radius * Frame.AcrossScale * Direction.X) +
                                   Frame.Side * (Outline.Radius * Direction.Y);
            const FVertexID Vertex = Mesh.CreateVertex();
            Positions[Vertex] = FVector3f(Frame.Origin + Frame.Axis * Outline.Height + Offset);
            Elements.Vertices.Add(Vertex);
        }
        RowBelow.Add(AddInstanceRow(Frame, Profile, Point, Outline.NormalBelow));
        RowAbove.Add(Outline.IsCrease() ? AddInstanceRow(Frame, Profile, Point, Outline.NormalAbove)
                                        : RowBelow.Last());
    }
}

int32 FDemoSweepBuilder::AddInstanceRow(const FFrame& Frame, const FDemoProfile& Profile, int32 Point,
                                        const FVector2D& Normal)
{
    const int32 First = Elements.VertexInstances.Num();
    const bool bPole = IsPole(Profile[Point]);
    const float V = static_cast<float>(Point) / static_cast<float>(Profile.Num() - 1);
    // A pole's instances sit in the middle of their fan triangles' U range.
    const int32 RowSize = bPole ? Segments : Segments + 1;
    const double UOffset = bPole ? 0.5 : 0.0;
    for (int32 Segment = 0; Segment < RowSize; ++Segment)
    {
        const double Angle = 2.0 * VT::Math::Pi * (Segment + UOffset) / Segments;
        const double Cos = std::cos(Angle);
        const double Sin = std::sin(Angle);
        // Scaling the cross-section scales the normal the inverse way.
        const FVector Surface = Frame.Across * (Normal.X * Cos / Frame.AcrossScale) +
                                Frame.Side * (Normal.X * Sin) + Frame.Axis * Normal.Y;
        const FVector Tangent = Frame.Across * (-Sin * Frame.AcrossScale) + Frame.Side * Cos;
        const FVertexInstanceID Instance = Mesh.CreateVertexInstance(RingVertex(Profile, Point, Segment));
        Corners.Normals[Instance] = FVector3f(Surface.GetSafeNormal());
        Corners.Tangents[Instance] = FVector3f(Tangent.GetSafeNormal());
        Corners.BinormalSigns[Instance] = 1.0f;
        Corners.UVs[Instance] = FVector2f(static_cast<float>((Segment + UOffset) / Segments), V);
        Elements.VertexInstances.Add(Instance);
    }
    return First;
}

FVertexID FDemoSweepBuilder::RingVertex(const FDemoProfile& Profile, int32 Point, int32 Segment) const
{
    const int32 Offset = IsPole(Profile[Point]) ? 0 : Segment % Segments;
    return Elements.Vertices[RingStart[Point] + Offset];
}

void FDemoSweepBuilder::AddTriangles(const FDemoProfile& Profile, FPolygonGroupID Group)
{
    const TArray<FVertexInstanceID>& Instances = Elements.VertexInstances;
    for (int32 Lower = 0; Lower + 1 < Profile.Num(); ++Lower)
    {
        const int32 Upper = Lower + 1;
        for (int32 Segment = 0; Segment < Segments; ++Segment)
        {
            const FVertexInstanceID A = Instances[RowAbove[Lower] + Segment];
            const FVertexInstanceID C =
                Instances[RowBelow[Upper] + Segment + (IsPole(Profile[Upper]) ? 0 : 1)];
            if (IsPole(Profile[Lower]))
            {
                const FVertexInstanceID D = Instances[RowBelow[Upper] + Segment];
                Mesh.CreateTriangle(Group, std::array{A, C, D});
                continue;
            }
            const FVertexInstanceID B = Instances[RowAbove[Lower] + Segment + 1];
            Mesh.CreateTriangle(Group, std::array{A, B, C});
            if (!IsPole(Profile[Upper]))
            {
                const FVertexInstanceID D = Instances[RowBelow[Upper] + Segment];
                Mesh.CreateTriangle(Group, std::array{A, C, D});
            }
        }
    }
}
