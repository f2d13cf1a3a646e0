#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Transform.h"
#include "Core/Math/Vector.h"

class FMeshDescription;

/** What baking a pose into one description did. */
struct FRivetPoseBake
{
    /** Vertices whose usable skin weights sum to more than 1e-4, each given its skinned position. */
    int32 VerticesMoved = 0;
    /** Morph targets of the description, whether or not they have deltas to turn. */
    int32 MorphTargets = 0;
    /** The first vertex moved, before and after; both zero when none moved. */
    FVector3f SampleBefore;
    FVector3f SampleAfter;
};

/**
 * Each bone's move from the reference pose to the pose: Inverse(ReferencePose[b]) * Pose[b], both in
 * component space, one transform per bone.
 */
TArray<FTransform> ComputeBoneMoves(const TArray<FTransform>& ComponentSpaceReference,
                                    const TArray<FTransform>& ComponentSpacePose);

/**
 * The bake kernel: makes a pose the description's rest shape. Every vertex goes where linear blend
 * skinning by the bones' moves (default skin-weight profile; influences on bones past BoneMoves and
 * influences of weight 0 ignored) puts it. The same pass blends each vertex's rotation (quaternions
 * aligned to the vertex's first influence) and uniform scale (the moves' X scale); the normals and
 * tangents then turn with their vertex and are renormalized, and the morph targets' position deltas
 * turn and scale with it while their normal deltas only turn. Deltas and vectors within 1e-4 of zero
 * stay as they are; a vertex with no usable weight keeps its place, rotation and scale.
 * Linear in the description; allocates two arrays over the vertex ID range.
 */
FRivetPoseBake BakePoseIntoMeshDescription(FMeshDescription& Mesh, const TArray<FTransform>& BoneMoves);
