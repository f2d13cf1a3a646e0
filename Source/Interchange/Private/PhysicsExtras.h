#pragma once

#include "Interchange/Private/ImportedScene.h"

#include <nlohmann/json.hpp>

class UPhysicsAsset;

/**
 * The physics asset as glTF extras: {"bodies": [{"bone", "spheres", "boxes", "capsules",
 * "taperedCapsules", "convexes", "levelSets", "skinnedLevelSets"}], "constraints": [...]}, every
 * shape with all its fields. Reading checks types and level-set grids and throws
 * FInterchangeFailure for malformed data.
 */
namespace PhysicsExtras
{
nlohmann::json Write(const UPhysicsAsset& PhysicsAsset);
FImportedPhysics Read(const nlohmann::json& Json);
} // namespace PhysicsExtras
