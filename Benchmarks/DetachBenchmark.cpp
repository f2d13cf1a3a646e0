// A painted half of a skinned grid of a quarter, one and four million triangles detached into a new asset,
// as the Detach tool runs it: the source duplicated, the copy trimmed to the half and its slots cleaned up,
// the half deleted from the source.

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectDuplication.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetEditor/Private/Ops/RivetDetachOp.h"
#include "RivetEditor/Private/Ops/RivetMeshCommit.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

namespace
{
void ResetGeometry(USkeletalMesh& Mesh, int32 Quads)
{
    Mesh.CreateMeshDescription(0, FMeshDescription(GridMesh(Quads)));
    CommitLOD0(Mesh, /*bPostEditChange=*/true);
}

/**
 * Duplicates and detaches half of a fresh source each time; rebuilding the source and freeing the part are
 * not timed.
 */
void DetachHalf(benchmark::State& State)
{
    const int32 Quads = static_cast<int32>(State.range(0));
    USkeletalMesh* Source = GridAsset(Quads);
    const FRivetDetachParams Params{PaintedHalf(GridPreview(Quads)), /*bRemoveFromSource=*/true,
                                    /*bPostEditChange=*/true};
    for (auto _ : State)
    {
        State.PauseTiming();
        ResetGeometry(*Source, Quads);
        State.ResumeTiming();
        FPeakAllocationReport Peak(State);
        UObject* Part =
            StaticDuplicateObject(Source, CreatePackage(Source->GetPackage()->GetName() + "_Part"),
                                  FName(Source->GetName() + "_Part"));
        const FRivetDetachResult Result = DetachSelection(Source, Cast<USkeletalMesh>(Part), Params);
        State.PauseTiming();
        if (!Result.bSuccess)
        {
            State.SkipWithError(*Result.Message.ToString());
        }
        Part->GetPackage()->MarkAsGarbage();
        Part->MarkAsGarbage();
        CollectGarbage();
        State.ResumeTiming();
    }
}
} // namespace

BENCHMARK(DetachHalf)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
