// The mesh data on skinned grids of a quarter, one and four million triangles: building a description,
// its indexers, deleting and compacting, a copy of the dynamic mesh and the commit of LOD 0 (the
// conversions both ways are in RemeshBenchmark). The table gives each time per triangle at four million over
// that at a quarter million (1.00 is linear), as multiples of the floor and of a copy of the description, and
// the peak memory.

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"
#include "Support/MeshBuilders.h"

namespace
{
int32 QuadsOf(const benchmark::State& State)
{
    return static_cast<int32>(State.range(0));
}

void BuildDescription(benchmark::State& State)
{
    for (auto _ : State)
    {
        FMeshDescription Mesh = BuildSkinnedGrid(GridOptions(QuadsOf(State)));
        benchmark::DoNotOptimize(Mesh);
    }
}

/** A triangle fan as large as the grid: every triangle shares the hub vertex, whose edge list grows. */
void BuildTriangleFan(benchmark::State& State)
{
    const int64 NumTriangles = GridTriangles(QuadsOf(State));
    for (auto _ : State)
    {
        FMeshDescription Mesh;
        const FPolygonGroupID Group = Mesh.CreatePolygonGroup();
        TArray<FVertexInstanceID> Corners;
        for (int64 Vertex = 0; Vertex < NumTriangles + 2; ++Vertex)
        {
            Corners.Add(Mesh.CreateVertexInstance(Mesh.CreateVertex()));
        }
        for (int64 Triangle = 0; Triangle < NumTriangles; ++Triangle)
        {
            const FVertexInstanceID Fan[3] = {Corners[0], Corners[Triangle + 1], Corners[Triangle + 2]};
            Mesh.CreateTriangle(Group, Fan);
        }
        benchmark::DoNotOptimize(Mesh);
    }
}

void BuildIndexers(benchmark::State& State)
{
    FMeshDescription Mesh = GridMesh(QuadsOf(State));
    for (auto _ : State)
    {
        State.PauseTiming();
        Mesh.ResetIndexers();
        State.ResumeTiming();
        Mesh.BuildIndexers();
    }
}

void DeleteHalfAndCompact(benchmark::State& State)
{
    TArray<FTriangleID> LowerHalf;
    for (int32 Triangle = 0; Triangle < GridMesh(QuadsOf(State)).Triangles().Num() / 2; ++Triangle)
    {
        LowerHalf.Add(FTriangleID(Triangle));
    }
    for (auto _ : State)
    {
        State.PauseTiming();
        FMeshDescription Mesh = GridMesh(QuadsOf(State));
        State.ResumeTiming();
        const FPeakAllocationReport Peak(State);
        Mesh.DeleteTrianglesAndOrphans(LowerHalf);
        Mesh.Compact();
    }
}

/** Copies the grid's preview; its bytes per triangle are the dynamic mesh's. */
void CopyDynamicMesh(benchmark::State& State)
{
    const FDynamicMesh3& Preview = GridPreview(QuadsOf(State));
    for (auto _ : State)
    {
        FDynamicMesh3 Copy = Preview;
        benchmark::DoNotOptimize(Copy);
    }
    State.counters["Bytes"] = static_cast<double>(CountHeldBytes([&] { return FDynamicMesh3(Preview); }));
}

/** A skeletal mesh rebuilding its LOD 0 data: imported model, morph target deltas and bounds. */
void CommitLOD0(benchmark::State& State)
{
    USkeletalMesh* Mesh = GridAsset(QuadsOf(State));
    for (auto _ : State)
    {
        const FPeakAllocationReport Peak(State);
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        benchmark::DoNotOptimize(Mesh->GetImportedModel());
    }
}
} // namespace

BENCHMARK(BuildDescription)->Apply(GridSizes);
BENCHMARK(BuildTriangleFan)->Apply(GridSizes);
BENCHMARK(BuildIndexers)->Apply(GridSizes);
BENCHMARK(DeleteHalfAndCompact)->Apply(GridSizes);
BENCHMARK(CopyDynamicMesh)->Apply(GridSizes);
BENCHMARK(CommitLOD0)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
