#pragma once

#include "Core/Containers/String.h"

#include <tiny_gltf.h>

/**
 * Reads a .gltf (with its external buffers) or .glb file into a glTF document. The container is
 * told by its first bytes, not by the extension. Throws FInterchangeFailure for a file that cannot
 * be opened, an empty, truncated or malformed file, a glTF version other than 2 and required
 * extensions it cannot honour. Images are not decoded.
 */
void ReadGltfFile(const FString& Path, tinygltf::Model& OutModel);
