#pragma once

#include "Core/Containers/String.h"

/** True for the files rivet can write: glTF 2.0 as .gltf or .glb. */
bool IsGltfPath(const FString& Path);

/** "<folder of Input>/<stem of Input>_rivet", or the first of "_rivet_2", "_rivet_3"... not taken yet. */
FString MakeNewFolderBeside(const FString& Input);

/**
 * The file a package is saved to in Folder: named after the opened file it came from, or after the
 * package, with the extension of Like when that is glTF and ".glb" otherwise.
 */
FString MakeOutputPath(const FString& Folder, const FString& BaseName, const FString& Like);

/** The file name of a path without its folder and extension. */
FString GetPathStem(const FString& Path);
