#pragma once

#include "Interchange/InterchangeResult.h"
#include "Interchange/Private/ImportedScene.h"

class USkeleton;

/** Where the assets go and where they came from. */
struct FAssetTarget
{
    FString PackageName;
    /** The mesh's name; the other assets are named from it. */
    FString BaseName;
    FString SourceFile;
    FString SourceHash;
};

/**
 * Makes the package and the assets of a checked scene: the skeletal mesh with every LOD committed,
 * its skeleton (bones merged from the mesh, retargeting modes, sockets), the physics asset when the
 * scene has one and the animations bound to the skeleton. The scene cannot make it fail; should memory
 * run out, it throws and leaves no package behind.
 */
void BuildSkinnedMeshAssets(FImportedScene&& Scene, const FAssetTarget& Target,
                            FInterchangeResult& OutResult);

/** Makes a package holding the scene's animations, bound to an existing skeleton. */
void BuildAnimationAssets(FImportedScene&& Scene, USkeleton& Skeleton, const FAssetTarget& Target,
                          FInterchangeResult& OutResult);
