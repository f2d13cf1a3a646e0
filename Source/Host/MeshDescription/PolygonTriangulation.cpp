#include "MeshDescription/PolygonTriangulation.h"

namespace
{
using FPoint2 = std::array<double, 2>;

/** Newell's normal: robust for polygons that are not quite planar. */
FVector PolygonNormal(std::span<const FVector3f> Points)
{
    FVector Normal(0.0, 0.0, 0.0);
    for (size_t Index = 0; Index < Points.size(); ++Index)
    {
        const FVector3f& A = Points[Index];
        const FVector3f& B = Points[(Index + 1) % Points.size()];
        Normal.X += (static_cast<double>(A.Y) - B.Y) * (static_cast<double>(A.Z) + B.Z);
        Normal.Y += (static_cast<double>(A.Z) - B.Z) * (static_cast<double>(A.X) + B.X);
        Normal.Z += (static_cast<double>(A.X) - B.X) * (static_cast<double>(A.Y) + B.Y);
    }
    return Normal;
}

/** The corners projected onto the plane of the normal, oriented so the polygon winds counter-clockwise. */
TArray<FPoint2> ProjectToPlane(std::span<const FVector3f> Points, const FVector& Normal)
{
    const FVector Axis = Normal.GetSafeNormal();
    const FVector Helper = std::abs(Axis.X) < 0.9 ? FVector(1.0, 0.0, 0.0) : FVector(0.0, 1.0, 0.0);
    const FVector U = Helper.Cross(Axis).GetSafeNormal();
    const FVector V = Axis.Cross(U);
    TArray<FPoint2> Result;
    Result.Reserve(static_cast<int32>(Points.size()));
    for (const FVector3f& Point : Points)
    {
        const FVector P(Point.X, Point.Y, Point.Z);
        Result.Add({P.Dot(U), P.Dot(V)});
    }
    return Result;
}

double Orientation(const FPoint2& A, const FPoint2& B, const FPoint2& C)
{
    return (B[0] - A[0]) * (C[1] - A[1]) - (B[1] - A[1]) * (C[0] - A[0]);
}

bool IsInsideTriangle(const FPoint2& P, const FPoint2& A, const FPoint2& B, const FPoint2& C)
{
    return Orientation(A, B, P) >= 0.0 && Orientation(B, C, P) >= 0.0 && Orientation(C, A, P) >= 0.0;
}

/** A convex corner whose triangle holds no other remaining corner. */
bool IsEar(const TArray<FPoint2>& Plane, const TArray<int32>& Ring, int32 At)
{
    const int32 Count = Ring.Num();
    const FPoint2& A = Plane[Ring[(At + Count - 1) % Count]];
    const FPoint2& B = Plane[Ring[At]];
    const FPoint2& C = Plane[Ring[(At + 1) % Count]];
    if (Orientation(A, B, C) <= 0.0)
    {
        return false;
    }
    for (int32 Other = 0; Other < Count; ++Other)
    {
        const int32 Offset = (Other - At + Count) % Count;
        if (Offset > 1 && Offset < Count - 1 && IsInsideTriangle(Plane[Ring[Other]], A, B, C))
        {
            return false;
        }
    }
    return true;
}
} // namespace

TArray<std::array<int32, 3>> TriangulatePolygon(std::span<const FVector3f> Points)
{
    const int32 Count = static_cast<int32>(Points.size());
    TArray<std::array<int32, 3>> Triangles;
    Triangles.Reserve(std::max(Count - 2, 0));
    const TArray<FPoint2> Plane = ProjectToPlane(Points, PolygonNormal(Points));
    TArray<int32> Ring;
    for (int32 Index = 0; Index < Count; ++Index)
    {
        Ring.Add(Index);
    }
    while (Ring.Num() > 3)
    {
        // Without an ear (a degenerate outline) any corner is clipped, so the loop still ends.
        int32 At = 1;
        for (int32 Corner = 0; Corner < Ring.Num(); ++Corner)
        {
            if (IsEar(Plane, Ring, Corner))
            {
                At = Corner;
                break;
            }
        }
        Triangles.Add({Ring[(At + Ring.Num() - 1) % Ring.Num()], Ring[At], Ring[(At + 1) % Ring.Num()]});
        Ring.RemoveAt(At);
    }
    if (Ring.Num() == 3)
    {
        Triangles.Add({Ring[0], Ring[1], Ring[2]});
    }
    return Triangles;
}
