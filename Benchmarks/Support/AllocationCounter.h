#pragma once

#include <cstdint>

/**
 * Counts the bytes the program holds on the heap through operator new, and the most it held since the
 * last mark. Every benchmark program links the counting operators (AllocationCounter.cpp), so a benchmark
 * can report what a step allocates at its peak beside what it costs in time.
 */
namespace AllocationCounter
{
/** Bytes allocated through operator new and not yet freed. */
int64_t LiveBytes();
/** The most LiveBytes reached since the last MarkPeak. */
int64_t PeakBytes();
/** Starts a new peak at the current LiveBytes. */
void MarkPeak();
} // namespace AllocationCounter

/** The peak bytes a scope allocates beyond what was live when it began. */
class FPeakAllocation
{
public:
    FPeakAllocation() : Start(AllocationCounter::LiveBytes()) { AllocationCounter::MarkPeak(); }
    int64_t Bytes() const { return AllocationCounter::PeakBytes() - Start; }

private:
    int64_t Start;
};

/** The bytes that Make's result holds on the heap: what it allocated and kept until it returned. */
template <typename MakeFunction>
int64_t CountHeldBytes(MakeFunction&& Make)
{
    const int64_t Before = AllocationCounter::LiveBytes();
    auto Made = Make();
    const int64_t Held = AllocationCounter::LiveBytes() - Before;
    return Held;
}
