// The mesh selection tool's actions on the preview of skinned grids of a quarter, one and four million
// triangles, with the lower half selected: the selection changes, and the geometry edits of the Mesh Edits
// panel.

#include "GeometryCore/Selections/MeshSelectionEdits.h"
#include "GeometryCore/Selections/TriangleSelectionOps.h"
#include "Support/BenchmarkTable.h"
#include "Support/GridMeshes.h"

namespace
{
/** A selection change: reads the mesh, returns the new selection. */
template <TArray<int32> (*Change)(const FDynamicMesh3&, const TArray<int32>&)>
void SelectionChange(benchmark::State& State)
{
    const FDynamicMesh3& Mesh = GridPreview(static_cast<int32>(State.range(0)));
    const TArray<int32> Selected = PaintedHalf(Mesh);
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
    const FDynamicMesh3& Source = GridPreview(static_cast<int32>(State.range(0)));
    const TArray<int32> Selected = PaintedHalf(Source);
    for (auto _ : State)
    {
        State.PauseTiming();
        FDynamicMesh3 Mesh = Source;
        State.ResumeTiming();
        const FPeakAllocationReport Peak(State);
        benchmark::DoNotOptimize(Edit(Mesh, Selected));
    }
}

int32 SmoothBorder(FDynamicMesh3& Mesh, const TArray<int32>& Selected)
{
    return SmoothSelectionBorder(Mesh, Selected);
}
} // namespace

BENCHMARK(SelectionChange<TriangleSelectionOps::Invert>)->Apply(GridSizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::Grow>)->Apply(GridSizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::Shrink>)->Apply(GridSizes);
BENCHMARK(SelectionChange<TriangleSelectionOps::ExpandToConnected>)->Apply(GridSizes);
BENCHMARK(GeometryEdit<DeleteSelectedTriangles>)->Apply(GridSizes);
BENCHMARK(GeometryEdit<DisconnectSelectedTriangles>)->Apply(GridSizes);
BENCHMARK(GeometryEdit<FlipSelectedTriangleNormals>)->Apply(GridSizes);
BENCHMARK(GeometryEdit<CreatePolygroupForSelection>)->Apply(GridSizes);
BENCHMARK(GeometryEdit<SmoothBorder>)->Apply(GridSizes);

int main(int ArgCount, char** Args)
{
    return RunBenchmarkTable(ArgCount, Args, GridMesh);
}
