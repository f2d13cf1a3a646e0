#pragma once

#include "Core/Math/Vector.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

#include <algorithm>
#include <array>
#include <cmath>

/** A cell of a uniform grid of cubic cells, by its integer coordinates. */
struct FCellCoord
{
    int64 X = 0;
    int64 Y = 0;
    int64 Z = 0;
};

/** Cell coordinates stay well inside int64, so neighbours of any cell can be formed without overflow. */
inline constexpr double MaxCellCoordinate = 4.0e18;

inline bool IsFinite(const FVector& Point)
{
    return std::isfinite(Point.X) && std::isfinite(Point.Y) && std::isfinite(Point.Z);
}

inline int64 CellCoordinate(double Value, double CellSize)
{
    return static_cast<int64>(
        std::clamp(std::floor(Value / CellSize), -MaxCellCoordinate, MaxCellCoordinate));
}

/** The cell holding Point: floor(coordinate / CellSize) on every axis. */
inline FCellCoord CellOf(const FVector& Point, double CellSize)
{
    return {CellCoordinate(Point.X, CellSize), CellCoordinate(Point.Y, CellSize),
            CellCoordinate(Point.Z, CellSize)};
}

/**
 * Calls Visit(Triangle, Centroid) for every triangle of the mesh in ascending ID order, with the mean of its
 * corner positions in double precision. Triangles whose centroid is not finite are skipped: they can never
 * lie within a tolerance of anything.
 */
template <typename VisitFunction>
void ForEachFiniteCentroid(const FMeshDescription& Mesh, VisitFunction Visit)
{
    const TMeshAttributesConstRef<FVertexID, FVector3f> Positions =
        FSkeletalMeshAttributesShared(Mesh).GetVertexPositions();
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        FVector Sum(0.0);
        for (const FVertexID Vertex : Mesh.GetTriangleVertices(Triangle))
        {
            Sum += FVector(Positions[Vertex]);
        }
        const FVector Centroid = Sum / 3.0;
        if (IsFinite(Centroid))
        {
            Visit(Triangle, Centroid);
        }
    }
}

/** Whether the triangle's winding faces the way Normal points (never for a zero Normal). */
inline bool TriangleFacesAlong(const FMeshDescription& Mesh,
                               TMeshAttributesConstRef<FVertexID, FVector3f> Positions, FTriangleID Triangle,
                               const FVector& Normal)
{
    const std::array<FVertexID, 3> Corners = Mesh.GetTriangleVertices(Triangle);
    const FVector A(Positions[Corners[0]]);
    const FVector Cross = (FVector(Positions[Corners[1]]) - A).Cross(FVector(Positions[Corners[2]]) - A);
    return Cross.Dot(Normal) > 0.0;
}
