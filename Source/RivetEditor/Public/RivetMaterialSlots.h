#pragma once

#include "Core/Containers/Array.h"

class USkeletalMesh;

/**
 * The slot each LOD 0 polygon group draws with: entry g is g itself unless the render section built
 * from group g has a LOD 0 material map entry that is not INDEX_NONE, which then names the slot. The
 * table spans every polygon group ID up to the highest, holes included; a group at or beyond its end
 * draws with its own index. The entries are not checked against the material array. Empty without a
 * mesh or a LOD 0 description.
 */
TArray<int32> BuildGroupToSlotMap(const USkeletalMesh* Mesh);

/**
 * The number of LOD 0 triangles that draw with each material slot, one entry per slot. Triangles
 * whose slot is not in the material array count nowhere. All zero without a LOD 0 description;
 * empty without a mesh.
 */
TArray<int32> CountTrianglesPerSlot(const USkeletalMesh* Mesh);
