#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Map.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"

/**
 * Which assets a registry query lists. Every criterion that is set must pass; an empty filter
 * lists every asset.
 */
struct FAssetFilter
{
    /** Class paths ("/Script/Engine.SkeletalMesh"); an asset of any of them passes. */
    TArray<FString> ClassPaths;
    /** Lets assets of subclasses of the listed classes pass too. */
    bool bRecursiveClasses = false;
    /**
     * Tag names with accepted values. An asset passes when, for every tag name listed, it has
     * that tag with one of the values listed for that name (compared exactly).
     */
    TArray<TPair<FName, FString>> TagsAndValues;
    /** Package folders ("/Game/Characters"); an asset whose package is in any of them passes. */
    TArray<FName> PackagePaths;
    /** Lets assets in folders below the listed folders pass too. */
    bool bRecursivePaths = false;
};
