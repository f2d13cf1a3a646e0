// The material slot operations as the Assign Material Slot tool runs them, on skinned grids of a quarter
// million and a million triangles in four slots: half of the triangles into a new slot, a slot merged
// into another (a quarter of the triangles move, then the emptied group and its slot go), and the removal
// of an unused slot. Each time is also given as a multiple of the time it takes to copy the
// million-triangle LOD 0 description; every operation includes its commit (sections, morph targets and
// bounds rebuilt). All of it is linear work: times grow four times from the smaller grid to the larger.
// Each size is warmed up and run five times; the ratios take the medians.

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "Support/GridMeshes.h"
#include "Support/GridSizes.h"
#include "Support/RatioReporter.h"

namespace
{
/** The grid with group 1's polygons moved into group 0: group 1 is left empty. */
const FMeshDescription& GridWithEmptyGroup(int32 Quads)
{
    static TMap<int32, FMeshDescription> Meshes;
    if (!Meshes.Contains(Quads))
    {
        FMeshDescription Mesh = GridMesh(Quads);
        MovePolygonGroupPolygons(Mesh, FPolygonGroupID(1), FPolygonGroupID(0));
        Meshes.Add(Quads, std::move(Mesh));
    }
    return Meshes[Quads];
}

/** A skeletal mesh whose LOD 0 is a fresh copy of the description, committed, with a slot per group. */
USkeletalMesh* MakeAsset(const FMeshDescription& Description)
{
    static USkeletalMesh* Mesh = nullptr;
    if (!Mesh)
    {
        Mesh = NewObject<USkeletalMesh>(GetTransientPackage());
        Mesh->AddLODInfo();
    }
    TArray<FSkeletalMaterial> Slots;
    for (int32 Slot = 0; Slot < 4; ++Slot)
    {
        const FName Name(FString::Printf("Slot_%d", Slot));
        Slots.Add(FSkeletalMaterial(nullptr, Name, Name));
    }
    Mesh->SetMaterials(std::move(Slots));
    Mesh->CreateMeshDescription(0, FMeshDescription(Description));
    Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
    return Mesh;
}

void AssignHalfToNewSlot(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    FRivetNewSlotParams Params;
    Params.SlotName = FName("Half");
    Params.TriangleIDs = PaintedHalf(GridPreview(Quads));
    for (auto _ : State)
    {
        State.PauseTiming();
        USkeletalMesh* Asset = MakeAsset(GridMesh(Quads));
        State.ResumeTiming();
        benchmark::DoNotOptimize(AssignToNewSlot(Asset, Params));
    }
}

void MergeSlot(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    for (auto _ : State)
    {
        State.PauseTiming();
        USkeletalMesh* Asset = MakeAsset(GridMesh(Quads));
        State.ResumeTiming();
        benchmark::DoNotOptimize(MergeMaterialSlots(Asset, FRivetMergeSlotsParams{1, 0, true}));
    }
}

void RemoveUnusedSlots(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    for (auto _ : State)
    {
        State.PauseTiming();
        USkeletalMesh* Asset = MakeAsset(GridWithEmptyGroup(Quads));
        State.ResumeTiming();
        benchmark::DoNotOptimize(RemoveUnusedMaterialSlots(Asset, /*bPostEditChange=*/true));
    }
}

/** Both grid sizes, each warmed up and then run five times; the median counts. */
void MedianOnGrids(benchmark::internal::Benchmark* Benchmark)
{
    GridSizes(Benchmark);
    Benchmark->MinWarmUpTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
}
} // namespace

BENCHMARK(CopyDescription)->Apply(MedianOnGrids);
BENCHMARK(AssignHalfToNewSlot)->Apply(MedianOnGrids);
BENCHMARK(MergeSlot)->Apply(MedianOnGrids);
BENCHMARK(RemoveUnusedSlots)->Apply(MedianOnGrids);

int main(int ArgCount, char** Args)
{
    return RunBenchmarksWithRatios(ArgCount, Args, "CopyDescription/708");
}
