#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "MeshDescription/MeshElementID.h"
#include "RivetEditor/Private/RivetTriangleCentroids.h"

/**
 * The triangle centroids of a mesh description in a uniform grid of cubic cells, for finding the
 * triangle whose centroid lies nearest to a point within a matching tolerance.
 *
 * Cells are at least as large as the tolerance, so a match lies in the point's cell or in one of its 26
 * neighbours. For storage, cells are grouped into blocks of 4 x 4 x 4, and blocks are hashed into
 * buckets: the centroids lie side by side, sorted by bucket and, within one, by ascending triangle ID,
 * and each bucket is a run of them. A lookup reads at most 8 runs instead of probing 27 cells. Building
 * sorts by bucket with a radix sort, so it is linear in the triangle count and touches memory
 * in order, with a fixed number of allocations.
 */
class FTriangleCentroidGrid
{
public:
    /** The smallest cell edge, which keeps tiny tolerances from making cells of a few float steps. */
    static constexpr double MinCellSize = 0.0001;

    /**
     * What decides between triangles whose centroids lie exactly as near as each other, as the two faces
     * of a double-sided card do: first a triangle facing the way Normal does, then one not yet Taken.
     */
    struct FTieBreak
    {
        /** The normal of the triangle being matched (any length; zero prefers no facing). */
        FVector Normal;
        /** Nonzero for the triangles, by ID value, matched already; may be null. */
        const TArray<uint8>* Taken = nullptr;
    };

    /**
     * Indexes every triangle of the description by the mean of its corner positions. The description
     * must outlive the grid.
     */
    FTriangleCentroidGrid(const FMeshDescription& Mesh, double InTolerance);

    /**
     * The triangle whose centroid is nearest to Point, no farther than the tolerance, or an invalid
     * ID. Of equally near triangles the tie break decides, when given; then the one met first when
     * visiting the 27 cells around Point (x outermost, then y, then z, each from one below to one above;
     * within a cell by ascending ID) wins.
     */
    FTriangleID FindNearest(const FVector& Point, const FTieBreak* TieBreak = nullptr) const;

    double GetCellSize() const { return CellSize; }

private:
    struct FEntry
    {
        FVector Centroid;
        FTriangleID Triangle;
        uint32 Bucket = 0;
    };

    /** Calls Visit with every bucket that may hold an entry of the 27 cells around Center, x outermost. */
    template <typename VisitFunction>
    void ForEachBucketAround(const FCellCoord& Center, VisitFunction Visit) const;
    static FCellCoord BlockOf(const FCellCoord& Cell);
    uint32 BucketOf(const FCellCoord& Block) const;
    /** 0 when the triangle faces the way the tie break asks (or none is asked), 1 otherwise. */
    int32 FacingPenalty(FTriangleID Triangle, const FTieBreak* TieBreak) const;

    const FMeshDescription& Mesh;
    double Tolerance;
    double CellSize;
    /** A bucket's entries are Entries[BucketStarts[Bucket]] up to Entries[BucketStarts[Bucket + 1]]. */
    TArray<FEntry> Entries;
    TArray<int32> BucketStarts;
    /** The number of buckets is 1 << BucketBits. */
    int32 BucketBits = 0;
};
