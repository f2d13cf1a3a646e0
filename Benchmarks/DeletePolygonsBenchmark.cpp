// A painted selection of half the triangles carried over to the asset and deleted, on skinned meshes of a
// quarter million and a million triangles. Each time is also given as a multiple of the time it takes to
// copy the million-triangle LOD 0 description; times four from the smaller to the larger mesh is linear.

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "RivetEditor/Private/Ops/RivetDeletePolygonsOp.h"
#include "RivetEditor/Private/RivetSelectionMapping.h"
#include "RivetEditor/Private/RivetTriangleCentroidGrid.h"
#include "Support/GridMeshes.h"
#include "Support/GridSizes.h"
#include "Support/RatioReporter.h"

namespace
{
/** The asset (LOD 0 the grid) and its tool preview, each made once per size. */
struct FGridAsset
{
    USkeletalMesh* Mesh = nullptr;
    FDynamicMesh3 Preview;
};

FGridAsset& GridAsset(int32 Quads)
{
    static TMap<int32, FGridAsset> Assets;
    if (!Assets.Contains(Quads))
    {
        FGridAsset& Asset = Assets.Add(Quads, FGridAsset());
        Asset.Mesh = NewObject<USkeletalMesh>(GetTransientPackage());
        Asset.Mesh->AddLODInfo();
        Asset.Mesh->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
        FMeshDescriptionToDynamicMesh().Convert(GridMesh(Quads), Asset.Preview);
    }
    return Assets[Quads];
}

/** The first half of the preview's triangles, as the user would paint them. */
TArray<int32> PaintedHalf(const FDynamicMesh3& Preview)
{
    TArray<int32> Selected;
    Selected.Reserve(Preview.MaxTriangleID() / 2);
    for (int32 Triangle = 0; Triangle < Preview.MaxTriangleID() / 2; ++Triangle)
    {
        Selected.Add(Triangle);
    }
    return Selected;
}

void CopyDescription(benchmark::State& State)
{
    for (auto _ : State)
    {
        FMeshDescription Copy = GridMesh(static_cast<int32>(State.range(0)));
        benchmark::DoNotOptimize(Copy);
    }
}

/** The lookup structure alone, which every mapping builds afresh. */
void BuildCentroidGrid(benchmark::State& State)
{
    const FMeshDescription& Mesh = GridMesh(static_cast<int32>(State.range(0)));
    for (auto _ : State)
    {
        FTriangleCentroidGrid Grid(Mesh, SelectionMatchTolerance);
        benchmark::DoNotOptimize(Grid);
    }
}

void MapSelection(benchmark::State& State)
{
    const FGridAsset& Asset = GridAsset(static_cast<int32>(State.range(0)));
    const TArray<int32> Selected = PaintedHalf(Asset.Preview);
    TArray<FTriangleID> Mapped;
    int32 Unmatched = 0;
    for (auto _ : State)
    {
        benchmark::DoNotOptimize(
            MapSelectionToAssetTriangles(Asset.Mesh, &Asset.Preview, Selected, Mapped, Unmatched));
    }
}

/** Deletes half of a fresh copy of the grid each time (the copy is not timed), as the tool calls it. */
void DeleteHalf(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    FGridAsset& Asset = GridAsset(Quads);
    TArray<FTriangleID> Half;
    for (const int32 Triangle : PaintedHalf(Asset.Preview))
    {
        Half.Add(FTriangleID(Triangle));
    }
    for (auto _ : State)
    {
        State.PauseTiming();
        Asset.Mesh->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
        State.ResumeTiming();
        benchmark::DoNotOptimize(DeletePolygons(Asset.Mesh, Half, true));
    }
}

void Sizes(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Arg(QuarterGrid)->Arg(LargeGrid)->Unit(benchmark::kMillisecond);
}
} // namespace

BENCHMARK(CopyDescription)->Apply(Sizes);
BENCHMARK(BuildCentroidGrid)->Apply(Sizes);
BENCHMARK(MapSelection)->Apply(Sizes);
BENCHMARK(DeleteHalf)->Apply(Sizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarksWithRatios(ArgCount, Args, "CopyDescription/708");
}
