// The material slot operations as the Assign Material Slot tool runs them, on skinned grids of a quarter,
// one and four million triangles in four slots: half of the triangles into a new slot, a slot merged into
// another (a quarter of the triangles move, then the emptied group and its slot go), and the removal of an
// unused slot. Every operation includes its commit (sections, morph targets and bounds rebuilt).

#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetMaterialSlotOp.h"
#include "RivetEditor/Private/Ops/RivetMergeSlotsOp.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

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
        const FPeakAllocationReport Peak(State);
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
        const FPeakAllocationReport Peak(State);
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
        const FPeakAllocationReport Peak(State);
        benchmark::DoNotOptimize(RemoveUnusedMaterialSlots(Asset, /*bPostEditChange=*/true));
    }
}
} // namespace

BENCHMARK(AssignHalfToNewSlot)->Apply(GridSizes);
BENCHMARK(MergeSlot)->Apply(GridSizes);
BENCHMARK(RemoveUnusedSlots)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
