#pragma once

#include "Core/CoreTypes.h"

#include <benchmark/benchmark.h>

/**
 * Grid sizes in quads per side shared by the benchmarks: 708 gives 1,002,528 triangles, 354 a
 * quarter of that, so that times four from the smaller to the larger grid shows linear work.
 */
constexpr int32 LargeGrid = 708;
constexpr int32 QuarterGrid = 354;

/** Runs a benchmark on both grid sizes, timed in milliseconds. */
inline void GridSizes(benchmark::internal::Benchmark* Benchmark)
{
    Benchmark->Arg(QuarterGrid)->Arg(LargeGrid)->Unit(benchmark::kMillisecond);
}
