#include "GeometryCore/Remesher/CurvatureSizing.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

#include <algorithm>
#include <cmath>

namespace
{
/** The vertex's area-weighted normal, or zero around a degenerate fan. */
FVector VertexNormal(const FDynamicMesh3& Mesh, int32 VertexID, TArray<int32>& Scratch)
{
    Scratch.Reset();
    Mesh.GetVtxTriangles(VertexID, Scratch);
    FVector Sum = FVector::ZeroVector;
    for (const int32 TriangleID : Scratch)
    {
        Sum += Mesh.GetTriNormal(TriangleID) * Mesh.GetTriArea(TriangleID);
    }
    return Sum.GetSafeNormal(0.0);
}

/**
 * The largest normal curvature towards a neighbour: the circle through the neighbour that touches the
 * tangent plane at the vertex has curvature 2 |n . d| / |d|^2 for the edge vector d.
 */
double LargestCurvature(const FDynamicMesh3& Mesh, int32 VertexID, const FVector& Normal)
{
    const FVector Position = Mesh.GetVertex(VertexID);
    double Largest = 0.0;
    for (const int32 EdgeID : Mesh.VtxEdges(VertexID))
    {
        const FVector Edge = Mesh.GetVertex(Mesh.GetEdgeV(EdgeID).OtherElement(VertexID)) - Position;
        const double LengthSquared = Edge.SizeSquared();
        if (LengthSquared > 0.0)
        {
            Largest = std::max(Largest, 2.0 * std::abs(Normal.Dot(Edge)) / LengthSquared);
        }
    }
    return Largest;
}
} // namespace

double CurvatureAdaptedEdgeLength(const FDynamicMesh3& Mesh, int32 VertexID, double MaxDeviation, double MinLength,
                                  double MaxLength, TArray<int32>& Scratch)
{
    const FVector Normal = VertexNormal(Mesh, VertexID, Scratch);
    const double Curvature = LargestCurvature(Mesh, VertexID, Normal);
    if (Curvature <= 0.0)
    {
        return MaxLength;
    }
    const double LengthSquared = 6.0 * MaxDeviation / Curvature - 3.0 * MaxDeviation * MaxDeviation;
    return std::clamp(std::sqrt(std::max(LengthSquared, 0.0)), MinLength, MaxLength);
}
