#pragma once

#include "Core/Containers/String.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/IsolatedRun.h"

class USkeleton;

/** True when the general importer reads files with this (lower-case, dotless) extension. */
bool IsAssimpFormat(const FString& Extension);

/**
 * Reads an FBX, Collada, OBJ or other file the general importer knows into a scene: its meshes as
 * one skeletal mesh, the bones of their skins, animations. Throws FInterchangeFailure when refused.
 */
void ImportAssimpScene(const FString& Path, FImportedScene& OutScene);

/** Reads only the animations of such a file, for the bones of Skeleton matched by name. */
void ImportAssimpAnimations(const FString& Path, const USkeleton& Skeleton, FImportedScene& OutScene);

/**
 * The importer first reads each file in a child process, which may spend the base limits plus the
 * per-megabyte limits for each megabyte of the file before the file is refused as one the importer cannot
 * finish. Tests lower them.
 */
struct FAssimpReadLimits
{
    FIsolatedRunLimits Base{.Seconds = 20.0, .MemoryBytes = uint64(2) << 30};
    FIsolatedRunLimits PerFileMegabyte{.Seconds = 1.0, .MemoryBytes = uint64(64) << 20};
};
void SetAssimpReadLimits(const FAssimpReadLimits& Limits);
