#pragma once

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
};

/**
 * Runs Work in a child process and tells how it ended. Libraries that parse untrusted files may abort,
 * corrupt memory or loop forever on a damaged one; a child takes only itself down, so the caller can refuse
 * the file instead. What Work throws counts as finished (the caller meets the same refusal when it runs the
 * work itself). The child's standard error is discarded. Where no child can be made, Work is reported as
 * finished and the caller runs it unprotected, as it would without this check.
 */
EIsolatedRunResult RunInChildProcess(const std::function<void()>& Work, double TimeLimitSeconds);
