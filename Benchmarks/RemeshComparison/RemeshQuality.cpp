#include "RemeshComparison/RemeshQuality.h"

#include "GeometryCore/Spatial/MeshAABBTree3.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
double AngleDegrees(const FVector& Corner, const FVector& A, const FVector& B)
{
    const FVector U = (A - Corner).GetSafeNormal(0.0);
    const FVector V = (B - Corner).GetSafeNormal(0.0);
    return std::acos(std::clamp(U.Dot(V), -1.0, 1.0)) * 180.0 / std::numbers::pi;
}

double SmallestAngle(const FDynamicMesh3& Mesh, int32 TriangleID)
{
    const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
    double Smallest = 180.0;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        Smallest = std::min(Smallest, AngleDegrees(Mesh.GetVertex(Tri[Corner]), Mesh.GetVertex(Tri[(Corner + 1) % 3]),
                                                   Mesh.GetVertex(Tri[(Corner + 2) % 3])));
    }
    return Smallest;
}

/** The largest distance from the samples of From (vertices, edge midpoints, centroids) to To. */
double OneSidedHausdorff(const FDynamicMesh3& From, const FDynamicMeshAABBTree3& To)
{
    double Largest = 0.0;
    const auto Sample = [&](const FVector& Point)
    { Largest = std::max(Largest, (To.FindNearestPoint(Point) - Point).Size()); };
    for (const int32 VertexID : From.VertexIndices())
    {
        Sample(From.GetVertex(VertexID));
    }
    for (const int32 EdgeID : From.EdgeIndices())
    {
        const FIndex2i Ends = From.GetEdgeV(EdgeID);
        Sample((From.GetVertex(Ends.A) + From.GetVertex(Ends.B)) * 0.5);
    }
    for (const int32 TriangleID : From.TriangleIndices())
    {
        Sample(From.GetTriCentroid(TriangleID));
    }
    return Largest;
}
} // namespace

FRemeshQuality MeasureRemeshQuality(const FDynamicMesh3& Region, const FDynamicMesh3& Original)
{
    FRemeshQuality Quality;
    Quality.Triangles = Region.TriangleCount();
    Quality.MinAngle = 180.0;
    int32 Below30 = 0;
    for (const int32 TriangleID : Region.TriangleIndices())
    {
        const double Smallest = SmallestAngle(Region, TriangleID);
        Quality.MinAngle = std::min(Quality.MinAngle, Smallest);
        Below30 += Smallest < 30.0 ? 1 : 0;
    }
    Quality.ShareBelow30 = static_cast<double>(Below30) / std::max(1, Quality.Triangles);

    double Sum = 0.0;
    double SumSquares = 0.0;
    for (const int32 EdgeID : Region.EdgeIndices())
    {
        const FIndex2i Ends = Region.GetEdgeV(EdgeID);
        const double Length = (Region.GetVertex(Ends.A) - Region.GetVertex(Ends.B)).Size();
        Sum += Length;
        SumSquares += Length * Length;
    }
    const double Count = std::max(1, Region.EdgeCount());
    const double Mean = Sum / Count;
    Quality.EdgeLengthCV = Mean > 0.0 ? std::sqrt(std::max(0.0, SumSquares / Count - Mean * Mean)) / Mean : 0.0;

    int32 Interior = 0;
    int32 Valence6 = 0;
    for (const int32 VertexID : Region.VertexIndices())
    {
        if (!Region.IsBoundaryVertex(VertexID))
        {
            ++Interior;
            Valence6 += Region.GetVtxEdgeCount(VertexID) == 6 ? 1 : 0;
        }
    }
    Quality.Valence6Share = static_cast<double>(Valence6) / std::max(1, Interior);

    FVector Min(std::numeric_limits<double>::max());
    FVector Max(-std::numeric_limits<double>::max());
    for (const int32 VertexID : Original.VertexIndices())
    {
        Min = Min.ComponentMin(Original.GetVertex(VertexID));
        Max = Max.ComponentMax(Original.GetVertex(VertexID));
    }
    const FDynamicMeshAABBTree3 OriginalTree(&Original);
    const FDynamicMeshAABBTree3 RegionTree(&Region);
    const double Hausdorff = std::max(OneSidedHausdorff(Region, OriginalTree), OneSidedHausdorff(Original, RegionTree));
    Quality.Hausdorff = Hausdorff / std::max((Max - Min).Size(), 1e-12);
    return Quality;
}
