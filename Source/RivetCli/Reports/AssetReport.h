#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Box.h"
#include "Interchange/InterchangeFileFrame.h"

#include <nlohmann/json.hpp>

class FRivetConsole;
class UAnimSequence;
class USkeletalMesh;

/**
 * The asset as the tools see it, as JSON: levels of detail (triangles and vertices of each editable
 * description, render sections), material slots with the LOD 0 triangles that draw with each and the
 * LOD 0 material map, bones, morph targets, sockets of the mesh and its skeleton, the physics asset's
 * bodies and constraints, and the animations given.
 */
nlohmann::json DescribeAsset(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations);

/** A box as JSON ({min, max, size}, each [x, y, z]); null when the box is invalid. */
nlohmann::json DescribeBounds(const FBox& Bounds);

/** Adds the file's frame and, when it is known, each LOD's bounds in it ("fileBounds"). */
void AddFileBounds(nlohmann::json& Asset, const FInterchangeFileFrame& Frame);

/** Prints a description made by DescribeAsset as indented lines. */
void PrintAssetReport(FRivetConsole& Console, const nlohmann::json& Asset);

/** Prints the material slots (name, LOD 0 triangles, material) and the LOD 0 material map, as info does. */
void PrintMaterialSlotTable(FRivetConsole& Console, const USkeletalMesh& Mesh);
