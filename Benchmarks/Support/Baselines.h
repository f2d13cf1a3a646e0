#pragma once

#include "MeshDescription/MeshDescription.h"
#include "Support/AllocationCounter.h"
#include "Support/GridSizes.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

/** The name of the floor every time is compared with: copying the description's bytes as one block. */
inline constexpr const char* FloorName = "MemcpyFloor";
/** The name of the second baseline: copying the description as its own type copies itself. */
inline constexpr const char* CopyName = "CopyDescription";

/** The description a program measures at a grid size (its LOD 0, as the paths see it). */
using FDescriptionOfSize = const FMeshDescription& (*)(int32 Quads);

/**
 * Registers the two baselines at every grid size: a memcpy of as many bytes as the description holds
 * between two buffers written beforehand (no page is faulted in while timed), and a structured copy of
 * the description. Both report the description's bytes ("Bytes"), from which the table gives the bytes
 * per triangle.
 */
inline void RegisterBaselines(FDescriptionOfSize DescriptionOfSize)
{
    benchmark::RegisterBenchmark(FloorName,
                                 [DescriptionOfSize](benchmark::State& State)
                                 {
                                     const FMeshDescription& Mesh =
                                         DescriptionOfSize(static_cast<int32>(State.range(0)));
                                     const int64_t Bytes =
                                         CountHeldBytes([&] { return FMeshDescription(Mesh); });
                                     std::vector<char> From(static_cast<size_t>(Bytes), 1);
                                     std::vector<char> To(static_cast<size_t>(Bytes), 0);
                                     for (auto _ : State)
                                     {
                                         std::memcpy(To.data(), From.data(), From.size());
                                         benchmark::ClobberMemory();
                                     }
                                     State.counters["Bytes"] = static_cast<double>(Bytes);
                                 })
        ->Apply(GridSizes);
    benchmark::RegisterBenchmark(CopyName,
                                 [DescriptionOfSize](benchmark::State& State)
                                 {
                                     const FMeshDescription& Mesh =
                                         DescriptionOfSize(static_cast<int32>(State.range(0)));
                                     for (auto _ : State)
                                     {
                                         FMeshDescription Copy = Mesh;
                                         benchmark::DoNotOptimize(Copy);
                                     }
                                     State.counters["Bytes"] = static_cast<double>(
                                         CountHeldBytes([&] { return FMeshDescription(Mesh); }));
                                 })
        ->Apply(GridSizes);
}
