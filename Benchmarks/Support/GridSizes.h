#pragma once

#include "Core/CoreTypes.h"

#include <benchmark/benchmark.h>

/**
 * Grid sizes in quads per side shared by the benchmarks: 354 gives 250,632 triangles, 708 four times
 * that and 1416 sixteen times that, so that the time per triangle at each size shows how a path grows.
 */
constexpr int32 QuarterGrid = 354;
constexpr int32 LargeGrid = 708;
constexpr int32 HugeGrid = 1416;

inline int64 GridTriangles(int32 Quads)
{
    return 2 * static_cast<int64>(Quads) * Quads;
}

/**
 * Each size runs once to warm up (memory faulted in, caches and the allocator's pools filled) and then
 * MeasuredRuns times, one call a run; the report drops the warm-up and takes the median of the rest.
 */
constexpr int32 WarmUpRuns = 1;
constexpr int32 MeasuredRuns = 3;

inline void RunsOf(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(WarmUpRuns + MeasuredRuns);
}

/** Every grid size. */
inline void GridSizes(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Arg(QuarterGrid)->Arg(LargeGrid)->Arg(HugeGrid);
    RunsOf(Benchmark);
}

/** The two smaller sizes, for paths too slow to run at four million triangles within the suite's time. */
inline void SmallerGridSizes(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Arg(QuarterGrid)->Arg(LargeGrid);
    RunsOf(Benchmark);
}
