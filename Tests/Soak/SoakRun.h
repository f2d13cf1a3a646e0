#pragma once

#include "Core/Containers/String.h"

class FTestFolder;
struct FSoakAsset;

/** One of the assets the soak runs on: a one-word id (for test names and replays), a name, how it is made. */
struct FSoakAssetKind
{
    const char* Id;
    const char* Name;
    FSoakAsset (*Make)(const FTestFolder& Folder);
};

/** How long a soak runs, how often it saves and reads back, and how often it prints progress (0: never). */
struct FSoakSettings
{
    int32 Actions = 100;
    uint32 Seed = 1;
    int32 SaveEvery = 25;
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
