#pragma once

#include "Core/Containers/String.h"

/** True for the files rivet can write: glTF 2.0 as .gltf or .glb. */
bool IsGltfPath(const FString& Path);

/** The file name of a path without its folder and extension. */
FString GetPathStem(const FString& Path);

/**
 * Creates a new folder beside Input: "<stem of Input>_rivet", or the first of "_rivet_2", "_rivet_3"...
 * that does not exist yet. Creating it claims it, so two runs never share one. False with OutError when
 * no folder can be made there.
 */
bool CreateNewFolderBeside(const FString& Input, FString& OutFolder, FString& OutError);

/**
 * The file a package is saved to in Folder: BaseName with the extension of Like when that is glTF and
 * ".glb" otherwise.
 */
FString MakeOutputPath(const FString& Folder, const FString& BaseName, const FString& Like);

/** The path with "_<Number>" before its extension: "out/hero.glb" -> "out/hero_2.glb". */
FString AddPathSuffix(const FString& Path, int32 Number);

/** True when both paths name the same file, existing or not (links and "." resolved). */
bool IsSameFile(const FString& A, const FString& B);

/**
 * The longest file name (one path component, in bytes) that the file system takes in Folder, or in the
 * nearest folder above it that exists; 255 when it cannot be told.
 */
int32 GetFileNameLimit(const FString& Folder);

/** Removes Folder when it exists and is empty; anything in it stays. */
void RemoveFolderIfEmpty(const FString& Folder);
