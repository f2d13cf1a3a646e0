#include "RivetEditor/Private/RivetTriangleCentroidGrid.h"

#include "MeshDescription/MeshAttributes.h"
#include "MeshDescription/MeshDescription.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace
{
/** Cell coordinates stay well inside int64, so a neighbour of any cell can be formed without overflow. */
constexpr double MaxCellCoordinate = 4.0e18;

bool IsFinite(const FVector& Point)
{
    return std::isfinite(Point.X) && std::isfinite(Point.Y) && std::isfinite(Point.Z);
}

int64 CellCoordinate(double Value, double CellSize)
{
    return static_cast<int64>(
        std::clamp(std::floor(Value / CellSize), -MaxCellCoordinate, MaxCellCoordinate));
}

uint64 MixBits(uint64 Value)
{
    Value ^= Value >> 30;
    Value *= 0xbf58476d1ce4e5b9ull;
    Value ^= Value >> 27;
    Value *= 0x94d049bb133111ebull;
    return Value ^ (Value >> 31);
}

FVector TriangleCentroid(const FMeshDescription& Mesh,
                         TMeshAttributesConstRef<FVertexID, FVector3f> Positions, FTriangleID Triangle)
{
    FVector Sum(0.0);
    for (const FVertexID Vertex : Mesh.GetTriangleVertices(Triangle))
    {
        Sum += FVector(Positions[Vertex]);
    }
    return Sum / 3.0;
}
} // namespace

FTriangleCentroidGrid::FTriangleCentroidGrid(const FMeshDescription& Mesh, double InTolerance)
    : Tolerance(InTolerance), CellSize(std::max(InTolerance, MinCellSize))
{
    const TMeshAttributesConstRef<FVertexID, FVector3f> Positions =
        Mesh.VertexAttributes().GetAttributesRef<FVector3f>(MeshAttribute::Vertex::Position);
    const int32 NumTriangles = Mesh.Triangles().Num();
    Slots.Init(EmptySlot, static_cast<int32>(std::bit_ceil(static_cast<uint32>(2 * NumTriangles + 2))));
    Centroids.SetNum(Mesh.Triangles().GetArraySize());

    // First pass: each triangle's centroid and cell, counting the triangles per cell.
    TArray<int32> CellOfTriangle;
    CellOfTriangle.Init(EmptySlot, Centroids.Num());
    TArray<int32> CellCounts;
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        const FVector Centroid = TriangleCentroid(Mesh, Positions, Triangle);
        if (!IsFinite(Centroid))
        {
            continue; // can never lie within a tolerance of anything
        }
        const int32 Cell = FindOrAddCell(CellOf(Centroid));
        if (Cell == CellCounts.Num())
        {
            CellCounts.Add(0);
        }
        ++CellCounts[Cell];
        Centroids[Triangle.GetValue()] = Centroid;
        CellOfTriangle[Triangle.GetValue()] = Cell;
    }

    // Second pass: lay the cells' runs out one after another, each in ascending triangle ID order.
    CellStarts.SetNum(Cells.Num() + 1);
    CellStarts[0] = 0;
    for (int32 Cell = 0; Cell < Cells.Num(); ++Cell)
    {
        CellStarts[Cell + 1] = CellStarts[Cell] + CellCounts[Cell];
        CellCounts[Cell] = CellStarts[Cell];
    }
    CellTriangles.SetNum(CellStarts.Last());
    for (int32 Triangle = 0; Triangle < CellOfTriangle.Num(); ++Triangle)
    {
        if (const int32 Cell = CellOfTriangle[Triangle]; Cell != EmptySlot)
        {
            CellTriangles[CellCounts[Cell]++] = FTriangleID(Triangle);
        }
    }
}

FTriangleID FTriangleCentroidGrid::FindNearest(const FVector& Point) const
{
    if (!IsFinite(Point))
    {
        return FTriangleID::Invalid();
    }
    const FCell Center = CellOf(Point);
    const double MaxDistanceSquared = Tolerance * Tolerance;
    FTriangleID Best;
    double BestDistanceSquared = std::numeric_limits<double>::infinity();
    for (int64 DX = -1; DX <= 1; ++DX)
    {
        for (int64 DY = -1; DY <= 1; ++DY)
        {
            for (int64 DZ = -1; DZ <= 1; ++DZ)
            {
                const int32 Cell = FindCell({Center.X + DX, Center.Y + DY, Center.Z + DZ});
                if (Cell == EmptySlot)
                {
                    continue;
                }
                for (int32 Index = CellStarts[Cell]; Index < CellStarts[Cell + 1]; ++Index)
                {
                    const FTriangleID Candidate = CellTriangles[Index];
                    const double DistanceSquared = (Centroids[Candidate.GetValue()] - Point).SizeSquared();
                    if (DistanceSquared <= MaxDistanceSquared && DistanceSquared < BestDistanceSquared)
                    {
                        Best = Candidate;
                        BestDistanceSquared = DistanceSquared;
                    }
                }
            }
        }
    }
    return Best;
}

FTriangleCentroidGrid::FCell FTriangleCentroidGrid::CellOf(const FVector& Point) const
{
    return {CellCoordinate(Point.X, CellSize), CellCoordinate(Point.Y, CellSize),
            CellCoordinate(Point.Z, CellSize)};
}

int32 FTriangleCentroidGrid::SlotOf(const FCell& Cell) const
{
    const uint64 Hash = MixBits(static_cast<uint64>(Cell.X) ^
                                MixBits(static_cast<uint64>(Cell.Y) ^ MixBits(static_cast<uint64>(Cell.Z))));
    return static_cast<int32>(Hash & static_cast<uint64>(Slots.Num() - 1));
}

int32 FTriangleCentroidGrid::FindCell(const FCell& Cell) const
{
    for (int32 Slot = SlotOf(Cell);; Slot = (Slot + 1) & (Slots.Num() - 1))
    {
        const int32 Index = Slots[Slot];
        if (Index == EmptySlot || Cells[Index] == Cell)
        {
            return Index;
        }
    }
}

int32 FTriangleCentroidGrid::FindOrAddCell(const FCell& Cell)
{
    for (int32 Slot = SlotOf(Cell);; Slot = (Slot + 1) & (Slots.Num() - 1))
    {
        int32& Index = Slots[Slot];
        if (Index == EmptySlot)
        {
            Index = Cells.Add(Cell);
            return Index;
        }
        if (Cells[Index] == Cell)
        {
            return Index;
        }
    }
}
