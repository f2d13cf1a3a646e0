#include "RivetEditor/Private/RivetTriangleCentroidGrid.h"

#include "RivetEditor/Private/RivetRadixSort.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>

namespace
{
/** Blocks are 4 cells wide: a cell's block coordinate is its cell coordinate shifted by this much. */
constexpr int32 BlockShift = 2;

uint64 MixBits(uint64 Value)
{
    Value ^= Value >> 30;
    Value *= 0xbf58476d1ce4e5b9ull;
    Value ^= Value >> 27;
    Value *= 0x94d049bb133111ebull;
    return Value ^ (Value >> 31);
}

/**
 * Where a candidate stands in the order of the lookup: nearer first, then facing the asked way, then not
 * taken yet, then by the visiting order of its cell around the point (x, then y, then z offset), then by
 * triangle ID. Without a tie break, taking the least of these gives the same winner as visiting the 27
 * cells in order and keeping only strictly nearer candidates.
 */
struct FCandidateRank
{
    double DistanceSquared = std::numeric_limits<double>::infinity();
    int32 FacingPenalty = 0;
    int32 TakenPenalty = 0;
    int64 DX = 0;
    int64 DY = 0;
    int64 DZ = 0;
    int32 Triangle = INDEX_NONE;

    friend auto operator<=>(const FCandidateRank&, const FCandidateRank&) = default;
};
} // namespace

FTriangleCentroidGrid::FTriangleCentroidGrid(const FMeshDescription& InMesh, double InTolerance)
    : Mesh(InMesh), Tolerance(InTolerance), CellSize(std::max(InTolerance, MinCellSize))
{
    const int32 NumTriangles = Mesh.Triangles().Num();
    BucketBits = std::bit_width(std::bit_ceil(static_cast<uint32>(std::max(NumTriangles, 1)))) - 1;

    Entries.Reserve(NumTriangles);
    ForEachFiniteCentroid(
        Mesh,
        [&](FTriangleID Triangle, const FVector& Centroid) {
            Entries.Add({Centroid, Triangle, BucketOf(BlockOf(CellOf(Centroid, CellSize)))});
        });
    TArray<FEntry> Scratch;
    RadixSortByKey(Entries, Scratch, BucketBits, [](const FEntry& Entry) { return Entry.Bucket; });

    BucketStarts.Init(0, (1 << BucketBits) + 1);
    for (const FEntry& Entry : Entries)
    {
        ++BucketStarts[static_cast<int32>(Entry.Bucket) + 1];
    }
    for (int32 Bucket = 1; Bucket < BucketStarts.Num(); ++Bucket)
    {
        BucketStarts[Bucket] += BucketStarts[Bucket - 1];
    }
}

template <typename VisitFunction>
void FTriangleCentroidGrid::ForEachBucketAround(const FCellCoord& Center, VisitFunction Visit) const
{
    const FCellCoord First = BlockOf({Center.X - 1, Center.Y - 1, Center.Z - 1});
    const FCellCoord Last = BlockOf({Center.X + 1, Center.Y + 1, Center.Z + 1});
    for (int64 BX = First.X; BX <= Last.X; ++BX)
    {
        for (int64 BY = First.Y; BY <= Last.Y; ++BY)
        {
            for (int64 BZ = First.Z; BZ <= Last.Z; ++BZ)
            {
                Visit(static_cast<int32>(BucketOf({BX, BY, BZ})));
            }
        }
    }
}

FTriangleID FTriangleCentroidGrid::FindNearest(const FVector& Point, const FTieBreak* TieBreak) const
{
    if (!IsFinite(Point))
    {
        return FTriangleID::Invalid();
    }
    const FCellCoord Center = CellOf(Point, CellSize);
    const double MaxDistanceSquared = Tolerance * Tolerance;
    FCandidateRank Best;
    ForEachBucketAround(
        Center,
        [&](int32 Bucket)
        {
            // A bucket may hold other blocks too; the cell test below leaves their entries out.
            for (int32 Index = BucketStarts[Bucket]; Index < BucketStarts[Bucket + 1]; ++Index)
            {
                const FEntry& Entry = Entries[Index];
                const double DistanceSquared = (Entry.Centroid - Point).SizeSquared();
                if (DistanceSquared > MaxDistanceSquared || DistanceSquared > Best.DistanceSquared)
                {
                    continue;
                }
                const FCellCoord Cell = CellOf(Entry.Centroid, CellSize);
                const int32 ID = Entry.Triangle.GetValue();
                const bool bTaken = TieBreak && TieBreak->Taken && (*TieBreak->Taken)[ID] != 0;
                const FCandidateRank Rank{DistanceSquared,
                                          FacingPenalty(Entry.Triangle, TieBreak),
                                          bTaken ? 1 : 0,
                                          Cell.X - Center.X,
                                          Cell.Y - Center.Y,
                                          Cell.Z - Center.Z,
                                          ID};
                const bool bAroundPoint =
                    std::abs(Rank.DX) <= 1 && std::abs(Rank.DY) <= 1 && std::abs(Rank.DZ) <= 1;
                if (bAroundPoint && Rank < Best)
                {
                    Best = Rank;
                }
            }
        });
    return FTriangleID(Best.Triangle);
}

int32 FTriangleCentroidGrid::FacingPenalty(FTriangleID Triangle, const FTieBreak* TieBreak) const
{
    return !TieBreak || TriangleFacesAlong(Mesh, FSkeletalMeshAttributesShared(Mesh).GetVertexPositions(),
                                           Triangle, TieBreak->Normal)
               ? 0
               : 1;
}

FCellCoord FTriangleCentroidGrid::BlockOf(const FCellCoord& Cell)
{
    return {Cell.X >> BlockShift, Cell.Y >> BlockShift, Cell.Z >> BlockShift};
}

uint32 FTriangleCentroidGrid::BucketOf(const FCellCoord& Block) const
{
    const uint64 Hash =
        MixBits(static_cast<uint64>(Block.X) ^
                MixBits(static_cast<uint64>(Block.Y) ^ MixBits(static_cast<uint64>(Block.Z))));
    return static_cast<uint32>(Hash & ((uint64(1) << BucketBits) - 1));
}
