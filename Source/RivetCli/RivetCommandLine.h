#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/** Exit statuses of `rivet`. */
enum class ERivetExitCode : int
{
    Success = 0,
    /** A tool refused (its message says why). */
    ToolRefused = 1,
    /** Bad arguments, or a file that cannot be read or written. */
    BadInput = 2,
};

/**
 * Runs `rivet` on the arguments (without the program name), printing results to Out and errors and
 * progress to Err; progress is drawn only when Err is an interactive terminal. Returns the exit status.
 */
int RunRivet(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err,
             bool bInteractive = false);
