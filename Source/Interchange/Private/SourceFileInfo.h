#pragma once

#include "Core/Containers/String.h"
#include "Interchange/InterchangeImportOptions.h"

/** The lower-case extension of a path without its dot ("glb"); empty when it has none. */
FString GetLowerExtension(const FString& Path);

/** A hex digest (64-bit FNV-1a) of the file's bytes, to recognise a changed source file; empty if unreadable.
 */
FString HashFileContents(const FString& Path);

/** The file name without folder and extension, reduced to characters that asset names allow. */
FString MakeAssetBaseName(const FString& Path);

/**
 * The package an import goes to: Options.PackageName when set, else "<Folder>/<base name>" with a
 * numeric suffix when that package exists. Throws FInterchangeFailure for a name that is not a valid
 * long package name or a requested package that exists already.
 */
FString ChooseImportPackageName(const FString& Path, const FInterchangeImportOptions& Options);
