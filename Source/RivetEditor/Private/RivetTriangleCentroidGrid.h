#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "MeshDescription/MeshElementID.h"

class FMeshDescription;

/**
 * The triangle centroids of a mesh description, hashed into a uniform grid of cubic cells, for
 * finding the triangle whose centroid lies nearest to a point within a matching tolerance.
 *
 * Cells are at least as large as the tolerance, so a match lies in the point's cell or in one of its
 * 26 neighbours. The cells are kept as one flat table (open addressing) over a shared list of
 * triangle IDs, each cell's run in ascending ID order: building is linear in the triangle count and
 * allocates a fixed number of arrays.
 */
class FTriangleCentroidGrid
{
public:
    /** The smallest cell edge, which keeps tiny tolerances from making cells of a few float steps. */
    static constexpr double MinCellSize = 0.0001;

    /** Indexes every triangle of the description by the mean of its corner positions. */
    FTriangleCentroidGrid(const FMeshDescription& Mesh, double InTolerance);

    /**
     * The triangle whose centroid is nearest to Point, no farther than the tolerance, or an invalid
     * ID. Cells are visited x outermost, then y, then z, each from one below to one above, and a
     * candidate must be strictly nearer than the best so far: of two equally near triangles the one
     * met first wins (the lower cell, then the lower triangle ID).
     */
    FTriangleID FindNearest(const FVector& Point) const;

    double GetTolerance() const { return Tolerance; }
    double GetCellSize() const { return CellSize; }

private:
    struct FCell
    {
        int64 X = 0;
        int64 Y = 0;
        int64 Z = 0;

        friend bool operator==(const FCell&, const FCell&) = default;
    };

    static constexpr int32 EmptySlot = -1;

    FCell CellOf(const FVector& Point) const;
    /** The cell's index in Cells, or EmptySlot. */
    int32 FindCell(const FCell& Cell) const;
    /** The cell's index in Cells, added when the cell is new. */
    int32 FindOrAddCell(const FCell& Cell);
    int32 SlotOf(const FCell& Cell) const;

    double Tolerance;
    double CellSize;
    /** Indexed by triangle ID; only the entries of indexed triangles are meaningful. */
    TArray<FVector> Centroids;
    /** The distinct occupied cells, and for each the start of its run in CellTriangles (one past the last).
     */
    TArray<FCell> Cells;
    TArray<int32> CellStarts;
    TArray<FTriangleID> CellTriangles;
    /** Open-addressing table of indices into Cells; its size is a power of two. */
    TArray<int32> Slots;
};
