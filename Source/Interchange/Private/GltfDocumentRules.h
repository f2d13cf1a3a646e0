#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

#include <nlohmann/json.hpp>

/**
 * Checks a glTF document's JSON against what the glTF 2.0 format forbids and the glTF library
 * would let through silently (negative offsets and strides, a node that is its own child, repeated
 * joints, JOINTS without WEIGHTS, attribute types glTF does not allow, indices that make no whole
 * triangles, primitives with different numbers of morph targets, a scene that does not exist, ...).
 * Throws FInterchangeFailure naming the object and the problem; adds warnings for what is merely unusual.
 */
void CheckGltfDocument(const nlohmann::json& Document, TArray<FString>& OutWarnings);
