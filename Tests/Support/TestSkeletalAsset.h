#pragma once

#include "Core/Containers/String.h"

class UAnimSequence;
class UPackage;
class UPhysicsAsset;
class USkeletalMesh;
class USkeleton;

/** What BuildTestSkeletalAsset puts into its character. */
struct FTestSkeletalAssetOptions
{
    /** The mesh's package; the dependent assets get packages beside it. A taken name gets a suffix. */
    FString PackageName = "/Game/Characters/TestCharacter";
    /** The LOD 0 grid, one unit per quad, in the XY plane. */
    int32 QuadsX = 6;
    int32 QuadsY = 4;
    /** Material slots, one polygon group each ("Slot_<n>"), as bands of columns. */
    int32 NumSlots = 3;
    /** A further slot whose polygon group has no triangles. */
    bool bEmptySlot = false;
    /** Levels of detail; every further LOD is a coarser grid with its own description. */
    int32 NumLODs = 1;
    /** Add the morph target "Frown", whose deltas include normals (Smile's are positions only). */
    bool bMorphNormals = true;
};

/**
 * A small skinned character, each asset in its own package:
 * - the mesh: LOD 0 a grid with the slots above, skinned to "Spine", "Arm" and "Head" with blended
 *   weights ("Root" carries no vertex), the morph targets "Smile" (positions) and, unless asked
 *   otherwise, "Frown" (positions and normals), the mesh socket "Weapon" on "Arm", committed with its
 *   inverse reference matrices;
 * - its skeleton: the same four bones ("Root", "Spine" at (2, 0, 0), "Arm" at (2, 0, 0) below "Spine",
 *   "Head" at (0, 2, 0) below "Spine"), and the skeleton socket "Hat" on "Head";
 * - its physics asset: bodies for "Spine" (a sphere and a capsule), "Arm" (a box, a convex hull and a
 *   tapered capsule) and "Head" (a sphere, a level set and a skinned level set), and the constraints
 *   Arm-Spine and Head-Spine (each child bone first);
 * - an animation, "<Name>_Walk", bound to the skeleton: 3 keys with tracks for "Root" and "Spine".
 * Every package is left clean (not dirty) and the undo history untouched.
 */
struct FTestSkeletalAsset
{
    USkeletalMesh* Mesh = nullptr;
    USkeleton* Skeleton = nullptr;
    UPhysicsAsset* PhysicsAsset = nullptr;
    UAnimSequence* Animation = nullptr;
};

FTestSkeletalAsset BuildTestSkeletalAsset(const FTestSkeletalAssetOptions& Options = {});
