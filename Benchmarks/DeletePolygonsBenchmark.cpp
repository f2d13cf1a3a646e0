// A painted selection of half the triangles carried over to the asset and deleted, on skinned grids of a
// quarter, one and four million triangles: the centroid matching alone, the mapping, and the delete as the
// tool calls it (commit included). All of it is linear work.

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"
#include "RivetEditor/Private/RivetCentroidMatching.h"
#include "RivetEditor/Private/RivetSelectionMapping.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

#include <vector>

namespace
{
/** The matching alone, of the painted half's centroids, which every mapping does afresh. */
void MatchCentroids(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    const FDynamicMesh3& Preview = GridPreview(Quads);
    std::vector<FVector> Centroids;
    for (const int32 Triangle : PaintedHalf(Preview))
    {
        Centroids.push_back(Preview.GetTriCentroid(Triangle));
    }
    const FPointNormalFunction NormalOf = [](int32)
    {
        return FVector(0.0, 0.0, 1.0);
    };
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        benchmark::DoNotOptimize(
            MatchNearestCentroids(GridMesh(Quads), SelectionMatchTolerance, Centroids, NormalOf));
    }
}

void MapSelection(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    USkeletalMesh* Asset = GridAsset(Quads);
    const FDynamicMesh3& Preview = GridPreview(Quads);
    const TArray<int32> Selected = PaintedHalf(Preview);
    TArray<FTriangleID> Mapped;
    int32 Unmatched = 0;
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        benchmark::DoNotOptimize(MapSelectionToAssetTriangles(Asset, &Preview, Selected, Mapped, Unmatched));
    }
}

/** Deletes half of a fresh copy of the grid each time (the copy is not timed), as the tool calls it. */
void DeleteHalf(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    USkeletalMesh* Asset = GridAsset(Quads);
    TArray<FTriangleID> Half;
    for (const int32 Triangle : PaintedHalf(GridPreview(Quads)))
    {
        Half.Add(FTriangleID(Triangle));
    }
    for (auto _ : State)
    {
        State.PauseTiming();
        Asset->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
        State.ResumeTiming();
        const FPeakAllocationReport Peak(State);
        benchmark::DoNotOptimize(DeletePolygons(Asset, Half, /*bPostEditChange=*/true));
    }
}
} // namespace

BENCHMARK(MatchCentroids)->Apply(GridSizes);
BENCHMARK(MapSelection)->Apply(GridSizes);
BENCHMARK(DeleteHalf)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
