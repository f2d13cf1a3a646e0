// The mesh selection tool's actions on the preview of skinned grids of a quarter million and a million
// triangles, with the lower half selected. Each time is also given as a multiple of the time it takes to
// copy the million-triangle preview mesh; times four from the smaller to the larger mesh is linear.

#include "Core/Containers/Map.h"
#include "GeometryCore/Selections/MeshSelectionEdits.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "Support/GridSizes.h"
#include "Support/MeshBuilders.h"
#include "Support/RatioReporter.h"

namespace
{

/** The preview of a skinned grid of that size, built once. */
const FDynamicMesh3& PreviewMesh(int32 Quads)
{
    static TMap<int32, FDynamicMesh3> Meshes;
    if (!Meshes.Contains(Quads))
    {
        const FMeshDescription Description =
            BuildSkinnedGrid({.QuadsX = Quads, .QuadsY = Quads, .NumGroups = 4, .InfluencesPerVertex = 4});
        FDynamicMesh3 Mesh;
        FMeshDescriptionToDynamicMesh().Convert(Description, Mesh);
        Meshes.Add(Quads, std::move(Mesh));
    }
    return Meshes[Quads];
}

/** The lower half of the preview's triangles, as a painted selection. */
TArray<int32> LowerHalf(const FDynamicMesh3& Mesh)
{
    TArray<int32> Selected;
    for (int32 Triangle = 0; Triangle < Mesh.MaxTriangleID() / 2; ++Triangle)
    {
        Selected.Add(Triangle);
    }
    return Selected;
}

void CopyPreview(benchmark::State& State)
{
    for (auto _ : State)
    {
        FDynamicMesh3 Copy = PreviewMesh(static_cast<int32>(State.range(0)));
        benchmark::DoNotOptimize(Copy);
    }
}

/** A selection change: reads the mesh, returns the new selection. */
template <TArray<int32> (*Change)(const FDynamicMesh3&, const TArray<int32>&)>
void SelectionChange(benchmark::State& State)
{
    const FDynamicMesh3& Mesh = PreviewMesh(static_cast<int32>(State.range(0)));
    const TArray<int32> Selected = LowerHalf(Mesh);
    for (auto _ : State)
    {
        TArray<int32> Result = Change(Mesh, Selected);
        benchmark::DoNotOptimize(Result);
    }
}

/** A geometry edit, applied to a fresh copy of the preview each time (the copy is not timed). */
template <int32 (*Edit)(FDynamicMesh3&, const TArray<int32>&)>
void GeometryEdit(benchmark::State& State)
{
    const FDynamicMesh3& Source = PreviewMesh(static_cast<int32>(State.range(0)));
    const TArray<int32> Selected = LowerHalf(Source);
    for (auto _ : State)
    {
        State.PauseTiming();
        FDynamicMesh3 Mesh = Source;
        State.ResumeTiming();
        benchmark::DoNotOptimize(Edit(Mesh, Selected));
    }
}

int32 SmoothBorder(FDynamicMesh3& Mesh, const TArray<int32>& Selected)
{
    return SmoothSelectionBorder(Mesh, Selected);
}

void Sizes(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Arg(QuarterGrid)->Arg(LargeGrid)->Unit(benchmark::kMillisecond);
}
} // namespace

BENCHMARK(CopyPreview)->Apply(Sizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::Invert>)->Apply(Sizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::Grow>)->Apply(Sizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::Shrink>)->Apply(Sizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::ExpandToConnected>)->Apply(Sizes);
BENCHMARK(GeometryEdit<DeleteSelectedTriangles>)->Apply(Sizes);
BENCHMARK(GeometryEdit<DisconnectSelectedTriangles>)->Apply(Sizes);
BENCHMARK(GeometryEdit<FlipSelectedTriangleNormals>)->Apply(Sizes);
BENCHMARK(GeometryEdit<CreatePolygroupForSelection>)->Apply(Sizes);
BENCHMARK(GeometryEdit<SmoothBorder>)->Apply(Sizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarksWithRatios(ArgCount, Args, "CopyPreview/708");
}
