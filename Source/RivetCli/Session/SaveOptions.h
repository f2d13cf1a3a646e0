#pragma once

#include "Core/Containers/String.h"

/** Where a session writes the packages it changed. Inputs are never overwritten unless bInPlace. */
struct FSaveOptions
{
    /** The folder to write into; empty for a new folder beside the first opened file. */
    FString OutputFolder;
    /** Write each opened file's package back over that file. */
    bool bInPlace = false;
};
