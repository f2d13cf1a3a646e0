// Remeshing half of a skinned grid at Density 1.0 with 10 passes, split into the stages of the operation:
// LOD 0 into a dynamic mesh, the remesh passes over the region, the dynamic mesh back into a description
// and the commit; then the whole operation as the tool calls it, and the operation without its passes.
// EdgeBuildFloor is the least that building the edges of the same triangles costs, a floor for the
// conversion into a dynamic mesh. The conversions and the commit run on grids of a quarter, one and four
// million triangles; the passes, which cost what the remesher costs on the region, and the whole operation on
// the two smaller grids.

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

/**
 * What building edges alone costs at the least, to read the conversion against: every triangle's three
 * edges found over the same triangles, in buckets per smaller vertex (one counting pass, one filling pass,
 * one scan of each vertex's few neighbours), with no vertex lists, attributes or checks.
 */
void EdgeBuildFloor(benchmark::State& State)
{
    const FMeshDescription& Mesh = GridMesh(QuadsOf(State));
    const int32 NumVertices = Mesh.Vertices().GetArraySize();
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        TArray<std::array<FVertexID, 3>> Corners;
        Corners.Reserve(Mesh.Triangles().Num());
        TArray<int32> BucketEnd;
        BucketEnd.Init(0, NumVertices + 1);
        for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
        {
            const std::array<FVertexID, 3>& Tri = Corners[Corners.Add(Mesh.GetTriangleVertices(Triangle))];
            for (int32 Corner = 0; Corner < 3; ++Corner)
            {
                ++BucketEnd[std::min(Tri[Corner], Tri[(Corner + 1) % 3]).GetValue() + 1];
            }
        }
        for (int32 Vertex = 0; Vertex < NumVertices; ++Vertex)
        {
            BucketEnd[Vertex + 1] += BucketEnd[Vertex];
        }
        // Per bucket entry: the larger vertex and the triangle edge (triangle * 3 + corner).
        TArray<FIndex2i> Entries;
        Entries.SetNum(Corners.Num() * 3);
        for (int32 Triangle = 0; Triangle < Corners.Num(); ++Triangle)
        {
            for (int32 Corner = 0; Corner < 3; ++Corner)
            {
                const FVertexID A = Corners[Triangle][Corner];
                const FVertexID B = Corners[Triangle][(Corner + 1) % 3];
                Entries[BucketEnd[std::min(A, B).GetValue()]++] = {std::max(A, B).GetValue(),
                                                                   Triangle * 3 + Corner};
            }
        }
        TArray<int32> TriangleEdges;
        TriangleEdges.SetNum(Corners.Num() * 3);
        int32 NumEdges = 0;
        for (int32 Vertex = 0, First = 0; Vertex < NumVertices; First = BucketEnd[Vertex++])
        {
            for (int32 Entry = First; Entry < BucketEnd[Vertex]; ++Entry)
            {
                int32 Same = First;
                while (Entries[Same].A != Entries[Entry].A)
                {
                    ++Same;
                }
                TriangleEdges[Entries[Entry].B] = Same == Entry ? NumEdges++ : TriangleEdges[Entries[Same].B];
            }
        }
        benchmark::DoNotOptimize(NumEdges);
        benchmark::DoNotOptimize(TriangleEdges);
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
BENCHMARK(EdgeBuildFloor)->Apply(GridSizes);
BENCHMARK(RemeshPasses)->Apply(SmallerGridSizes);
BENCHMARK(ConvertBack)->Apply(GridSizes);
BENCHMARK(Commit)->Apply(GridSizes);
BENCHMARK(RemeshSelectionOfHalf)->Apply(SmallerGridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(
        ArgCount, Args, GridMesh,
        {{"RemeshSelectionOfHalf without passes", "RemeshSelectionOfHalf", "RemeshPasses"}});
}
