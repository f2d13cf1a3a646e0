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
 * Opens an asset of the kind in a headless editor and takes random user actions on it, checking every
 * step (see README, "Reliability and security"). Stops at the first step with a finding and returns a
 * report: the findings, and the seed and steps that take them again; empty when every step passed.
 */
FString RunSoak(const FSoakAssetKind& Kind, const FSoakSettings& Settings);
