// The mesh data on skinned meshes of a quarter million and a million triangles: each measurement is
// reported, and then given as a multiple of the time it takes to copy the million-triangle description.
// Times four from the smaller to the larger mesh is linear.

#include "Core/Containers/Map.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshConversion/DynamicMeshToMeshDescription.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "Support/GridMeshes.h"
#include "Support/GridSizes.h"
#include "Support/MeshBuilders.h"
#include "Support/MeshEdits.h"
#include "Support/RatioReporter.h"

namespace
{
constexpr int32 LargeTriangles = 1000000;

void BuildDescription(benchmark::State& State)
{
    for (auto _ : State)
    {
        FMeshDescription Mesh = BuildSkinnedGrid(GridOptions(static_cast<int32>(State.range(0))));
        benchmark::DoNotOptimize(Mesh);
    }
}

/** A triangle fan: every triangle shares the hub vertex, whose edge list grows with the fan. */
void BuildTriangleFan(benchmark::State& State)
{
    const int32 NumTriangles = static_cast<int32>(State.range(0));
    for (auto _ : State)
    {
        FMeshDescription Mesh;
        const FPolygonGroupID Group = Mesh.CreatePolygonGroup();
        TArray<FVertexInstanceID> Corners;
        for (int32 Vertex = 0; Vertex < NumTriangles + 2; ++Vertex)
        {
            Corners.Add(Mesh.CreateVertexInstance(Mesh.CreateVertex()));
        }
        for (int32 Triangle = 0; Triangle < NumTriangles; ++Triangle)
        {
            const FVertexInstanceID Fan[3] = {Corners[0], Corners[Triangle + 1], Corners[Triangle + 2]};
            Mesh.CreateTriangle(Group, Fan);
        }
        benchmark::DoNotOptimize(Mesh);
    }
}

void BuildIndexers(benchmark::State& State)
{
    FMeshDescription Mesh = GridMesh(static_cast<int32>(State.range(0)));
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
    for (int32 Triangle = 0; Triangle < GridMesh(static_cast<int32>(State.range(0))).Triangles().Num() / 2;
         ++Triangle)
    {
        LowerHalf.Add(FTriangleID(Triangle));
    }
    for (auto _ : State)
    {
        State.PauseTiming();
        FMeshDescription Mesh = GridMesh(static_cast<int32>(State.range(0)));
        State.ResumeTiming();
        Mesh.ResetIndexers();
        Mesh.BuildIndexers();
        DeleteTrianglesAndUnusedElements(Mesh, LowerHalf);
        Mesh.Compact();
        benchmark::DoNotOptimize(Mesh);
    }
}

void ConvertToDynamicMesh(benchmark::State& State)
{
    for (auto _ : State)
    {
        FDynamicMesh3 DynamicMesh;
        FMeshDescriptionToDynamicMesh Converter;
        Converter.Convert(GridMesh(static_cast<int32>(State.range(0))), DynamicMesh, true);
        benchmark::DoNotOptimize(DynamicMesh);
    }
}

void ConvertToMeshDescription(benchmark::State& State)
{
    FDynamicMesh3 DynamicMesh;
    FMeshDescriptionToDynamicMesh().Convert(GridMesh(static_cast<int32>(State.range(0))), DynamicMesh, true);
    for (auto _ : State)
    {
        State.PauseTiming();
        FMeshDescription Mesh = GridMesh(static_cast<int32>(State.range(0)));
        State.ResumeTiming();
        FDynamicMeshToMeshDescription Converter;
        Converter.Convert(DynamicMesh, Mesh, true);
        benchmark::DoNotOptimize(Mesh);
    }
}
} // namespace

/** A skeletal mesh rebuilding its LOD 0 data: imported model, morph target deltas and bounds. */
void CommitLOD0(benchmark::State& State)
{
    USkeletalMesh* Mesh = NewObject<USkeletalMesh>();
    Mesh->AddLODInfo();
    Mesh->CreateMeshDescription(0, FMeshDescription(GridMesh(static_cast<int32>(State.range(0)))));
    for (auto _ : State)
    {
        Mesh->CommitMeshDescription(0, FCommitMeshDescriptionParams());
        benchmark::DoNotOptimize(Mesh->GetImportedModel());
    }
    Mesh->MarkAsGarbage();
}

BENCHMARK(BuildDescription)->Apply(GridSizes);
BENCHMARK(BuildTriangleFan)->Arg(LargeTriangles / 4)->Arg(LargeTriangles)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyDescription)->Apply(GridSizes);
BENCHMARK(BuildIndexers)->Apply(GridSizes);
BENCHMARK(DeleteHalfAndCompact)->Apply(GridSizes);
BENCHMARK(ConvertToDynamicMesh)->Apply(GridSizes);
BENCHMARK(ConvertToMeshDescription)->Apply(GridSizes);
BENCHMARK(CommitLOD0)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    GridMesh(QuarterGrid); // built once, before any timing
    GridMesh(LargeGrid);
    return RunBenchmarksWithRatios(ArgCount, Args, "CopyDescription/708");
}
