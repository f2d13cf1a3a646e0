#include "RivetEditor/Private/RivetCentroidMatching.h"

#include "RivetEditor/Private/RivetRadixSort.h"
#include "RivetEditor/Private/RivetTriangleCentroidGrid.h"
#include "RivetEditor/Private/RivetTriangleCentroids.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <optional>

namespace
{
/** A triangle's centroid or a point to match, with the number of its cell; Index is the ID or the point's. */
struct FCellPoint
{
    int64 Key = 0;
    FVector Point;
    int32 Index = INDEX_NONE;
};

/** The least and the greatest coordinate along each axis of a set of cells. */
struct FCellBounds
{
    FCellCoord Min{INT64_MAX, INT64_MAX, INT64_MAX};
    FCellCoord Max{INT64_MIN, INT64_MIN, INT64_MIN};

    void Add(const FCellCoord& Cell)
    {
        Min = {std::min(Min.X, Cell.X), std::min(Min.Y, Cell.Y), std::min(Min.Z, Cell.Z)};
        Max = {std::max(Max.X, Cell.X), std::max(Max.Y, Cell.Y), std::max(Max.Z, Cell.Z)};
    }

    bool IsEmpty() const { return Min.X > Max.X; }
};

/**
 * Numbers the cells of a box one cell wider on every side than the centroids' cells, x outermost, then y,
 * then z, so that a cell's three neighbours along z have consecutive numbers. Points reach at most one
 * cell past the centroids' cells, and a neighbour one further out, whose number may alias a cell on the
 * far side of the box, aliases only the empty margin.
 */
class FCellNumbering
{
public:
    /** The numbering around Bounds, if the box's cells can be numbered in 62 bits. */
    static std::optional<FCellNumbering> Around(const FCellBounds& Bounds)
    {
        FCellNumbering Numbering;
        Numbering.Origin = {Bounds.Min.X - 1, Bounds.Min.Y - 1, Bounds.Min.Z - 1};
        Numbering.Size = {Bounds.Max.X - Bounds.Min.X + 3, Bounds.Max.Y - Bounds.Min.Y + 3,
                          Bounds.Max.Z - Bounds.Min.Z + 3};
        constexpr int64 MaxCells = int64(1) << 62;
        int64 NumCells = 0;
        if (__builtin_mul_overflow(Numbering.Size.X, Numbering.Size.Y, &NumCells) ||
            __builtin_mul_overflow(NumCells, Numbering.Size.Z, &NumCells) || NumCells >= MaxCells)
        {
            return std::nullopt;
        }
        Numbering.KeyBits = std::bit_width(static_cast<uint64>(NumCells - 1));
        return Numbering;
    }

    /** Whether Cell lies in the box, so that its neighbourhood may hold a centroid. */
    bool Reaches(const FCellCoord& Cell) const
    {
        return Cell.X >= Origin.X && Cell.X - Origin.X < Size.X && Cell.Y >= Origin.Y &&
               Cell.Y - Origin.Y < Size.Y && Cell.Z >= Origin.Z && Cell.Z - Origin.Z < Size.Z;
    }

    int64 KeyOf(const FCellCoord& Cell) const
    {
        return ((Cell.X - Origin.X) * Size.Y + (Cell.Y - Origin.Y)) * Size.Z + (Cell.Z - Origin.Z);
    }

    /** What takes a cell's number to that of its neighbour DX, DY along x and y, at the same z. */
    int64 ColumnOffset(int64 DX, int64 DY) const { return (DX * Size.Y + DY) * Size.Z; }

    int32 GetKeyBits() const { return KeyBits; }

private:
    FCellCoord Origin;
    FCellCoord Size;
    int32 KeyBits = 0;
};

/**
 * The centroids in the 27 cells around each of a series of cells, read with one forward-only cursor per
 * column of three cells along z. The centroids must be sorted by cell and, within one, by ascending ID.
 */
class FNeighbourhoodWalk
{
public:
    FNeighbourhoodWalk(const TArray<FCellPoint>& InCentroids, const FCellNumbering& Numbering)
        : Centroids(InCentroids.GetData()), NumCentroids(InCentroids.Num())
    {
        int32 Column = 0;
        for (int64 DX = -1; DX <= 1; ++DX)
        {
            for (int64 DY = -1; DY <= 1; ++DY)
            {
                ColumnOffsets[Column++] = Numbering.ColumnOffset(DX, DY);
            }
        }
        Cursors.fill(0);
    }

    /**
     * Calls Visit with every centroid around the cell numbered Key: x column first, then y, then z, then by
     * ascending ID, the order of visiting the cells one by one. Keys must not decrease from call to call.
     */
    template <typename VisitFunction>
    void ForEachAround(int64 Key, VisitFunction Visit)
    {
        for (int32 Column = 0; Column < NumColumns; ++Column)
        {
            const int64 Lowest = Key + ColumnOffsets[Column] - 1;
            int32& Cursor = Cursors[Column];
            while (Cursor < NumCentroids && Centroids[Cursor].Key < Lowest)
            {
                ++Cursor;
            }
            for (int32 Index = Cursor; Index < NumCentroids && Centroids[Index].Key <= Lowest + 2; ++Index)
            {
                Visit(Centroids[Index]);
            }
        }
    }

private:
    static constexpr int32 NumColumns = 9;
    const FCellPoint* Centroids;
    int32 NumCentroids;
    std::array<int64, NumColumns> ColumnOffsets;
    std::array<int32, NumColumns> Cursors;
};

/** A point whose nearest centroids lie equally near: Count triangles from First in the tied list. */
struct FTie
{
    int32 Point = 0;
    int32 First = 0;
    int32 Count = 0;
};

/** The points whose nearest centroids tie, and those centroids' triangles in visiting order. */
struct FTies
{
    TArray<FTie> Points;
    TArray<FTriangleID> Triangles;
};

TArray<FCellPoint> CentroidsOf(const FMeshDescription& Mesh, double CellSize, FCellBounds& OutBounds)
{
    TArray<FCellPoint> Centroids;
    Centroids.Reserve(Mesh.Triangles().Num());
    ForEachFiniteCentroid(Mesh,
                          [&](FTriangleID Triangle, const FVector& Centroid)
                          {
                              OutBounds.Add(CellOf(Centroid, CellSize));
                              Centroids.Add({0, Centroid, Triangle.GetValue()});
                          });
    return Centroids;
}

/** The points that can match anything, numbered by cell; the others stay unmatched. */
TArray<FCellPoint> PointsInReach(std::span<const FVector> Points, const FCellNumbering& Numbering,
                                 double CellSize)
{
    TArray<FCellPoint> InReach;
    InReach.Reserve(static_cast<int32>(Points.size()));
    for (int32 Index = 0; Index < static_cast<int32>(Points.size()); ++Index)
    {
        if (!IsFinite(Points[Index]))
        {
            continue;
        }
        const FCellCoord Cell = CellOf(Points[Index], CellSize);
        if (Numbering.Reaches(Cell))
        {
            InReach.Add({Numbering.KeyOf(Cell), Points[Index], Index});
        }
    }
    return InReach;
}

void SortByCell(TArray<FCellPoint>& CellPoints, const FCellNumbering& Numbering)
{
    TArray<FCellPoint> Scratch;
    RadixSortByKey(CellPoints, Scratch, Numbering.GetKeyBits(),
                   [](const FCellPoint& Item) { return Item.Key; });
}

/**
 * Sets each point's match to the nearest centroid within the tolerance, the first met on equal distance,
 * and answers the points where that was a tie, for the tie break to settle.
 */
FTies FindNearest(const TArray<FCellPoint>& Centroids, const TArray<FCellPoint>& Points,
                  const FCellNumbering& Numbering, double Tolerance, TArray<FTriangleID>& Matches)
{
    const double ToleranceSquared = Tolerance * Tolerance;
    FNeighbourhoodWalk Walk(Centroids, Numbering);
    FTies Ties;
    for (const FCellPoint& Point : Points)
    {
        double BestDistanceSquared = std::numeric_limits<double>::infinity();
        int32 Best = INDEX_NONE;
        int32 NumTied = 0;
        Walk.ForEachAround(Point.Key,
                           [&](const FCellPoint& Centroid)
                           {
                               const double DistanceSquared = (Centroid.Point - Point.Point).SizeSquared();
                               if (DistanceSquared > ToleranceSquared ||
                                   DistanceSquared > BestDistanceSquared)
                               {
                                   return;
                               }
                               if (DistanceSquared == BestDistanceSquared)
                               {
                                   ++NumTied;
                                   return;
                               }
                               BestDistanceSquared = DistanceSquared;
                               Best = Centroid.Index;
                               NumTied = 1;
                           });
        Matches[Point.Index] = FTriangleID(Best);
        if (NumTied > 1)
        {
            Ties.Points.Add({Point.Index, Ties.Triangles.Num(), NumTied});
            Walk.ForEachAround(Point.Key,
                               [&](const FCellPoint& Centroid)
                               {
                                   if ((Centroid.Point - Point.Point).SizeSquared() == BestDistanceSquared)
                                   {
                                       Ties.Triangles.Add(FTriangleID(Centroid.Index));
                                   }
                               });
        }
    }
    return Ties;
}

/** Of the tied triangles, the first that faces the way Normal does and is not taken, by that preference. */
FTriangleID SettleTie(const FMeshDescription& Mesh, std::span<const FTriangleID> Tied, const FVector& Normal,
                      const TArray<uint8>& Taken)
{
    const TMeshAttributesConstRef<FVertexID, FVector3f> Positions =
        FSkeletalMeshAttributesShared(Mesh).GetVertexPositions();
    FTriangleID Winner;
    int32 WinnerPenalty = std::numeric_limits<int32>::max();
    for (const FTriangleID Triangle : Tied)
    {
        const int32 Penalty = (TriangleFacesAlong(Mesh, Positions, Triangle, Normal) ? 0 : 2) +
                              (Taken[Triangle.GetValue()] != 0 ? 1 : 0);
        if (Penalty < WinnerPenalty)
        {
            Winner = Triangle;
            WinnerPenalty = Penalty;
        }
    }
    return Winner;
}

/** Walks the points in order up to the last tie, settling each tie by what the points before it took. */
void SettleTies(const FMeshDescription& Mesh, FTies& Ties, const FPointNormalFunction& NormalOf,
                TArray<FTriangleID>& Matches)
{
    if (Ties.Points.IsEmpty())
    {
        return;
    }
    Ties.Points.Sort([](const FTie& A, const FTie& B) { return A.Point < B.Point; });
    TArray<uint8> Taken;
    Taken.Init(0, Mesh.Triangles().GetArraySize());
    int32 NextTie = 0;
    for (int32 Point = 0; NextTie < Ties.Points.Num(); ++Point)
    {
        const FTie& Tie = Ties.Points[NextTie];
        if (Tie.Point == Point)
        {
            const std::span<const FTriangleID> Tied(Ties.Triangles.GetData() + Tie.First, Tie.Count);
            Matches[Point] = SettleTie(Mesh, Tied, NormalOf(Point), Taken);
            ++NextTie;
        }
        if (Matches[Point].IsSet())
        {
            Taken[Matches[Point].GetValue()] = 1;
        }
    }
}

/** The same matching through the hash grid, one point after another. */
TArray<FTriangleID> MatchOneByOne(const FMeshDescription& Mesh, double Tolerance,
                                  std::span<const FVector> Points, const FPointNormalFunction& NormalOf)
{
    const FTriangleCentroidGrid Grid(Mesh, Tolerance);
    TArray<uint8> Taken;
    Taken.Init(0, Mesh.Triangles().GetArraySize());
    FTriangleCentroidGrid::FTieBreak TieBreak{FVector(0.0), &Taken};
    TArray<FTriangleID> Matches;
    Matches.Reserve(static_cast<int32>(Points.size()));
    for (int32 Index = 0; Index < static_cast<int32>(Points.size()); ++Index)
    {
        FTriangleID Match;
        if (IsFinite(Points[Index]))
        {
            TieBreak.Normal = NormalOf(Index);
            Match = Grid.FindNearest(Points[Index], &TieBreak);
        }
        if (Match.IsSet())
        {
            Taken[Match.GetValue()] = 1;
        }
        Matches.Add(Match);
    }
    return Matches;
}
} // namespace

TArray<FTriangleID> MatchNearestCentroids(const FMeshDescription& Mesh, double Tolerance,
                                          std::span<const FVector> Points,
                                          const FPointNormalFunction& NormalOf)
{
    const double CellSize = std::max(Tolerance, FTriangleCentroidGrid::MinCellSize);
    FCellBounds Bounds;
    TArray<FCellPoint> Centroids = CentroidsOf(Mesh, CellSize, Bounds);
    TArray<FTriangleID> Matches;
    Matches.Init(FTriangleID::Invalid(), static_cast<int32>(Points.size()));
    if (Bounds.IsEmpty())
    {
        return Matches;
    }
    const std::optional<FCellNumbering> Numbering = FCellNumbering::Around(Bounds);
    if (!Numbering)
    {
        return MatchOneByOne(Mesh, Tolerance, Points, NormalOf);
    }
    for (FCellPoint& Centroid : Centroids)
    {
        Centroid.Key = Numbering->KeyOf(CellOf(Centroid.Point, CellSize));
    }
    SortByCell(Centroids, *Numbering);
    TArray<FCellPoint> Queries = PointsInReach(Points, *Numbering, CellSize);
    SortByCell(Queries, *Numbering);
    FTies Ties = FindNearest(Centroids, Queries, *Numbering, Tolerance, Matches);
    SettleTies(Mesh, Ties, NormalOf, Matches);
    return Matches;
}
