#pragma once

#include "Core/Containers/String.h"

struct FSoakAssetKind;

/** How long a soak runs and how often it saves. */
struct FSoakSettings
{
    int32 Actions = 100;
    uint32 Seed = 1;
    /** Steps between two saves that are read back and compared. */
    int32 SaveEvery = 25;
    /** Print a line of progress every this many steps; 0 for none. */
    int32 ProgressEvery = 0;
};

/**
 * Opens an asset of the kind in a headless editor and takes random user actions on it, checking after
 * every step that the asset and the tool's preview are sound, that a refusal changed nothing, that each
 * undo gives back exactly the state before the step it undoes and each redo the state after it, and, every
 * SaveEvery steps, that the asset's glTF file reads back equal. Stops at the first step with a finding and
 * returns a report: the findings, the seed and every step taken, which the same seed and step count take
 * again. Empty when every step passed.
 */
FString RunSoak(const FSoakAssetKind& Kind, const FSoakSettings& Settings);
