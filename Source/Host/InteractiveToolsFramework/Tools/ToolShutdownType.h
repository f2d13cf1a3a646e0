#pragma once

#include "Core/CoreTypes.h"

/** How a tool ends: it had nothing to commit, the user accepted its result, or the user cancelled. */
enum class EToolShutdownType : uint8
{
    Completed = 0,
    Accept = 1,
    Cancel = 2,
};
