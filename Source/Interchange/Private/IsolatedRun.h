#pragma once

#include "Core/CoreTypes.h"

#include <functional>

/** How work run in a child process ended. */
enum class EIsolatedRunResult
{
    /** The work returned or threw. */
    Finished,
    /** The child stopped on its own before the work was done (a failed check, a crash). */
    Stopped,
    /** The work was still running at the time limit; the child was killed. */
    TimedOut,
    /** The work asked for more memory than the child was allowed. */
    OutOfMemory,
};

/** What a child may spend: seconds of wall clock, and bytes of memory beyond what it starts with. */
struct FIsolatedRunLimits
{
    double Seconds = 0.0;
    uint64 MemoryBytes = 0;
};

/**
 * Runs Work in a child process and tells how it ended. Libraries that parse untrusted files may abort,
 * corrupt memory, loop forever or allocate without bound on a damaged one; a child takes only itself down,
 * so the caller can refuse the file instead. What Work throws counts as finished (the caller meets the same
 * refusal when it runs the work itself), except running out of memory. The child's standard error is
 * discarded. Where no child can be made, Work is reported as finished and the caller runs it unprotected,
 * as it would without this check.
 */
EIsolatedRunResult RunInChildProcess(const std::function<void()>& Work, const FIsolatedRunLimits& Limits);
