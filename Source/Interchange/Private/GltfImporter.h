#pragma once

#include "Core/Containers/String.h"
#include "Interchange/Private/ImportedScene.h"

class USkeleton;

/**
 * Reads a glTF 2.0 file (.gltf or .glb) into a scene: one skeletal mesh from all its mesh nodes,
 * the skeleton of their skins, animations, sockets and, from this exporter's extras, everything
 * glTF has no place for. Throws FInterchangeFailure when the file is refused.
 */
void ImportGltfScene(const FString& Path, FImportedScene& OutScene);

/** Reads only the animations of a glTF file, for the bones of Skeleton matched by node name. */
void ImportGltfAnimations(const FString& Path, const USkeleton& Skeleton, FImportedScene& OutScene);
