#pragma once

#include "Core/CoreTypes.h"

/** How important a log message is; a category shows messages up to its verbosity. */
enum class ELogVerbosity : uint8
{
    NoLogging = 0,
    /** Logs, then stops the process. */
    Fatal,
    Error,
    Warning,
    Display,
    Log,
    Verbose,
    VeryVerbose,
    All = VeryVerbose,
};

/** The enumerator's name ("Warning"); All reads "VeryVerbose". */
const char* ToString(ELogVerbosity Verbosity);
