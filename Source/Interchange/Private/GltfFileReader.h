#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <tiny_gltf.h>

/**
 * Reads a .gltf (with its external buffers) or .glb file into a glTF document. The container is
 * told by its first bytes, not by the extension. Before the glTF library sees the document, its JSON
 * is checked for depth and against the rules of glTF 2.0 (GltfDocumentRules.h) and its buffer URIs
 * against the resource rules (GltfResources.h). Throws FInterchangeFailure for a file that cannot be
 * opened, an empty, truncated or malformed file, a glTF version other than 2 and required extensions
 * it cannot honour; adds warnings for what is merely unusual. Images are not decoded.
 */
void ReadGltfFile(const FString& Path, tinygltf::Model& OutModel, TArray<FString>& OutWarnings);
