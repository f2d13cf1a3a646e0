// Remeshing half of a skinned grid of a million triangles at Density 1.0 with 10 passes, split into the
// stages of the operation: LOD 0 into a dynamic mesh, the remesh passes over the region, the dynamic mesh
// back into a copy of the description, and the commit; then the whole operation as the tool calls it.
// Each time is also given as a multiple of copying the LOD 0 description. The conversions are linear in
// the whole mesh and stay within twice the copy each; the passes cost what the remesher costs on the region.

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshConversion/DynamicMeshToMeshDescription.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditor/Private/Ops/RivetRemeshOp.h"
#include "RivetEditor/Private/Ops/RivetRemeshRegion.h"
#include "Support/GridMeshes.h"
#include "Support/GridSizes.h"
#include "Support/RatioReporter.h"

namespace
{
constexpr int32 Passes = 10;

/** The painted half of the grid remeshed at its own average edge length, made once. */
const FDynamicMesh3& RemeshedGrid()
{
    static const FDynamicMesh3 Remeshed = []
    {
        FDynamicMesh3 Working = GridPreview(LargeGrid);
        const TArray<int32> Half = PaintedHalf(Working);
        RemeshTriangleRegion(Working, Half, MeasureAverageEdgeLength(Working, Half), Passes);
        return Working;
    }();
    return Remeshed;
}

USkeletalMesh* GridAsset()
{
    static USkeletalMesh* Mesh = []
    {
        USkeletalMesh* Asset = NewObject<USkeletalMesh>(GetTransientPackage());
        Asset->AddLODInfo();
        Asset->CreateMeshDescription(0, FMeshDescription(GridMesh(LargeGrid)));
        return Asset;
    }();
    return Mesh;
}

void ConvertToDynamicMesh(benchmark::State& State)
{
    for (auto _ : State)
    {
        FDynamicMesh3 Working;
        FMeshDescriptionToDynamicMesh().Convert(GridMesh(LargeGrid), Working);
        benchmark::DoNotOptimize(Working);
    }
}

void RemeshPasses(benchmark::State& State)
{
    for (auto _ : State)
    {
        State.PauseTiming();
        FDynamicMesh3 Working = GridPreview(LargeGrid);
        const TArray<int32> Half = PaintedHalf(Working);
        State.ResumeTiming();
        RemeshTriangleRegion(Working, Half, MeasureAverageEdgeLength(Working, Half), Passes);
        benchmark::DoNotOptimize(Working);
    }
}

/** Into a copy of the description, as the operation does; the copy is not timed. */
void ConvertBack(benchmark::State& State)
{
    for (auto _ : State)
    {
        State.PauseTiming();
        FMeshDescription Copy = GridMesh(LargeGrid);
        State.ResumeTiming();
        FDynamicMeshToMeshDescription().Convert(RemeshedGrid(), Copy);
        benchmark::DoNotOptimize(Copy);
    }
}

/** The remeshed description replaces LOD 0 and is committed, render data included. */
void Commit(benchmark::State& State)
{
    USkeletalMesh* Asset = GridAsset();
    for (auto _ : State)
    {
        State.PauseTiming();
        FMeshDescription Remeshed = GridMesh(LargeGrid);
        FDynamicMeshToMeshDescription().Convert(RemeshedGrid(), Remeshed);
        State.ResumeTiming();
        Asset->ModifyMeshDescription(0, true);
        *Asset->GetMeshDescription(0) = std::move(Remeshed);
        CommitLOD0(*Asset, /*bPostEditChange=*/true);
    }
}

void RemeshSelectionOfHalf(benchmark::State& State)
{
    USkeletalMesh* Asset = GridAsset();
    const TArray<int32> Half = PaintedHalf(GridPreview(LargeGrid));
    for (auto _ : State)
    {
        State.PauseTiming();
        Asset->CreateMeshDescription(0, FMeshDescription(GridMesh(LargeGrid)));
        State.ResumeTiming();
        benchmark::DoNotOptimize(RemeshSelection(Asset, {Half, 1.0, Passes, /*bPostEditChange=*/true}));
    }
}

void OnTheLargeGrid(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Arg(LargeGrid)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
}
} // namespace

BENCHMARK(CopyDescription)->Apply(OnTheLargeGrid);
BENCHMARK(ConvertToDynamicMesh)->Apply(OnTheLargeGrid);
BENCHMARK(RemeshPasses)->Apply(OnTheLargeGrid);
BENCHMARK(ConvertBack)->Apply(OnTheLargeGrid);
BENCHMARK(Commit)->Apply(OnTheLargeGrid);
BENCHMARK(RemeshSelectionOfHalf)->Apply(OnTheLargeGrid);

int main(int ArgCount, char** Args)
{
    // Warm-up: the grid, its preview, the remeshed grid and the asset are made before anything is timed.
    benchmark::DoNotOptimize(RemeshedGrid());
    benchmark::DoNotOptimize(GridAsset());
    return RunBenchmarksWithRatios(ArgCount, Args, "CopyDescription/708");
}
