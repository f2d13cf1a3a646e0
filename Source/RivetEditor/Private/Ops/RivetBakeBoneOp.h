#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Transform.h"
#include "Core/Name/Name.h"
#include "Core/Text/Text.h"

class USkeletalMesh;

/** What to bake: the preview's pose, the bones the user changed, and what the bake carries the pose to. */
struct FRivetBakeBoneParams
{
    /** The preview's component-space transform of every bone of the mesh's reference skeleton, in bone order.
     */
    TArray<FTransform> ComponentSpacePose;
    /** The bones the user changed, each once. Animations are baked only when the root is among them. */
    TArray<FName> BoneNames;
    /** Resets the listed bones' rotation after the bake; their children keep their place. */
    bool bZeroTheBone = false;
    /** Writes the "DIAG" log lines. */
    bool bVerboseLog = false;
    /** Runs the mesh's post-edit-change at the end. */
    bool bPostEditChange = false;
    /** Switches every bone of the mesh's skeleton to scaled translation retargeting. */
    bool bRetargetAnimationScaled = false;
    /** Applies the root's move to the root track of every animation of the mesh's skeleton. */
    bool bBakeIntoAnimations = false;
    /** Resizes the physics asset's bodies and constraints by the scale the pose gave their bones. */
    bool bUpdatePhysicsAsset = false;
    /** Copies the skeleton's sockets onto the mesh first, so that they follow the bake too. */
    bool bLocalizeSkeletonSockets = false;
};

/** What a bake did; reset at the start of every call. */
struct FRivetBakeBoneResult
{
    bool bSuccess = false;
    /** Why the bake was refused; empty on success. */
    FText Message;
    int32 VerticesMoved = 0;
    int32 BonesWritten = 0;
    int32 ChildBonesCompensated = 0;
    int32 BonesSwitchedToScaled = 0;
    int32 AnimationsUpdated = 0;
    int32 MorphTargets = 0;
    int32 SocketsUpdated = 0;
    int32 SocketsCopiedFromSkeleton = 0;
    int32 PhysicsBodiesResized = 0;
    FString PhysicsAssetName;
    int32 ConstraintsUpdated = 0;
    /** Level sets of resized bodies, which cannot be resized. */
    int32 PhysicsShapesSkipped = 0;
    /** Skeleton sockets the mesh has no socket of the same name for: shared, so never changed. */
    int32 SkeletonSocketsLeftUntouched = 0;
    /** Animations were asked for, but the root was not among the bones baked. */
    bool bAnimationsSkipped = false;
};

/**
 * Makes the pose permanent in the mesh: every LOD's skinned vertices, normals, tangents and morph deltas
 * move to where the pose puts them, the pose (without scale) becomes the reference pose, the listed
 * bones' rotations are reset when asked, and the change is carried on to the mesh's sockets, its
 * physics asset, the animations of its skeleton and the skeleton's retargeting, as the parameters ask.
 *
 * Refuses, with the reason in Result.Message and nothing changed, a null mesh, a pose that does not
 * match the skeleton, an empty bone list, a mesh without LOD 0 description, bones the skeleton lacks,
 * bones whose pose scale is not uniform or not positive, and (when zeroing) bones that vertices are
 * skinned to. Opens no transaction: the caller opens one and records the mesh first.
 */
void BakeBoneTransform(FRivetBakeBoneResult& Result, USkeletalMesh* Mesh, const FRivetBakeBoneParams& Params);
