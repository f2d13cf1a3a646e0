// Remeshing half of a skinned grid at Density 1.0 with 10 passes, split into the stages of the operation:
// LOD 0 into a dynamic mesh, the remesh passes over the region, the dynamic mesh back into a description
// and the commit; then the whole operation as the tool calls it, and the operation without its passes.
// The conversions and the commit run on grids of a quarter, one and four million triangles; the passes,
// which cost what the remesher costs on the region, and the whole operation on the two smaller grids.

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshConversion/DynamicMeshToMeshDescription.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "RivetEditor/Private/Ops/RivetRemeshOp.h"
#include "RivetEditor/Private/Ops/RivetRemeshRegion.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

namespace
{
constexpr int32 Passes = 10;

int32 QuadsOf(const benchmark::State& State)
{
    return static_cast<int32>(State.range(0));
}

/** A skeletal mesh whose LOD 0 is the grid of that size, made once per size. */
USkeletalMesh* GridAsset(int32 Quads)
{
    static TMap<int32, USkeletalMesh*> Assets;
    if (!Assets.Contains(Quads))
    {
        USkeletalMesh* Asset = NewObject<USkeletalMesh>(GetTransientPackage());
        Asset->AddLODInfo();
        Asset->CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
        Assets.Add(Quads, Asset);
    }
    return Assets[Quads];
}

void ConvertToDynamicMesh(benchmark::State& State)
{
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        FDynamicMesh3 Working;
        FMeshDescriptionToDynamicMesh().Convert(GridMesh(QuadsOf(State)), Working);
        benchmark::DoNotOptimize(Working);
    }
}

void RemeshPasses(benchmark::State& State)
{
    for (auto _ : State)
    {
        State.PauseTiming();
        FDynamicMesh3 Working = GridPreview(QuadsOf(State));
        const TArray<int32> Half = PaintedHalf(Working);
        State.ResumeTiming();
        RemeshTriangleRegion(Working, Half, MeasureAverageEdgeLength(Working, Half), Passes);
        benchmark::DoNotOptimize(Working);
    }
}

/**
 * The preview back into a description that has LOD 0's attributes, as the operation does (on the flat
 * grid, already at the target length, the passes leave the triangulation as it was).
 */
void ConvertBack(benchmark::State& State)
{
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        FMeshDescription Remeshed = FMeshDescription::CopyWithoutElements(GridMesh(QuadsOf(State)));
        FDynamicMeshToMeshDescription().Convert(GridPreview(QuadsOf(State)), Remeshed);
        benchmark::DoNotOptimize(Remeshed);
    }
}

/** A converted description replaces LOD 0 and is committed, render data included. */
void Commit(benchmark::State& State)
{
    USkeletalMesh* Asset = GridAsset(QuadsOf(State));
    for (auto _ : State)
    {
        State.PauseTiming();
        FMeshDescription Remeshed = GridMesh(QuadsOf(State));
        FDynamicMeshToMeshDescription().Convert(GridPreview(QuadsOf(State)), Remeshed);
        State.ResumeTiming();
        const FPeakAllocationReport Peak(State);
        Asset->ModifyMeshDescription(0, true);
        *Asset->GetMeshDescription(0) = std::move(Remeshed);
        CommitLOD0(*Asset, /*bPostEditChange=*/true);
    }
}

void RemeshSelectionOfHalf(benchmark::State& State)
{
    USkeletalMesh* Asset = GridAsset(QuadsOf(State));
    const TArray<int32> Half = PaintedHalf(GridPreview(QuadsOf(State)));
    for (auto _ : State)
    {
        State.PauseTiming();
        Asset->CreateMeshDescription(0, FMeshDescription(GridMesh(QuadsOf(State))));
        State.ResumeTiming();
        const FPeakAllocationReport Peak(State);
        benchmark::DoNotOptimize(RemeshSelection(Asset, {Half, 1.0, Passes, /*bPostEditChange=*/true}));
    }
}
} // namespace

BENCHMARK(ConvertToDynamicMesh)->Apply(GridSizes);
BENCHMARK(RemeshPasses)->Apply(SmallerGridSizes);
BENCHMARK(ConvertBack)->Apply(GridSizes);
BENCHMARK(Commit)->Apply(GridSizes);
BENCHMARK(RemeshSelectionOfHalf)->Apply(SmallerGridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh,
                             {{"RemeshSelectionOfHalf without passes", "RemeshSelectionOfHalf", "RemeshPasses"}});
}
